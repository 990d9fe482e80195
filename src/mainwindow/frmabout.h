#pragma once
#include <QDialog>
#include <QUrl>

class QFrame;
class QLabel;
class QPushButton;
namespace platform {
class UiService;
}

// The sentence with the running totals: "You have renamed 3 files and 1
// directories!". Counts are plain decimal (a minus sign when negative) and the
// words stay plural for a count of 1.
QString renamedSentence(qint32 files, qint32 dirs);

// A new mail without a fixed address whose subject is the title and version.
QUrl feedbackMailUrl(const QString& productTitle, const QString& versionText);

// Opens the help page shipped with the program; a missing page is a message
// that names the file looked for.
void openHelpPage(platform::UiService& ui, QWidget* parent);

// The about box: title picture, version, running totals and two links. Any
// click or key closes it, except a click on one of the two links.
class FrmAbout : public QDialog {
    Q_OBJECT
public:
    FrmAbout(platform::UiService& ui, const QString& productTitle, const QString& versionText, qint32 totFiles,
             qint32 totDirs, QWidget* parent = nullptr);

    QLabel* imgTaborin;
    QLabel* lblWeb;
    QFrame* Shape1;
    QLabel* Image3;
    QLabel* lblVersion;
    QLabel* Label3;
    QLabel* lblMail;
    QLabel* lblTotRenamed;
    QFrame* Line1;
    QFrame* Line2;
    QWidget* clickShape;
    QPushButton* cmdExit;

    void lblWeb_Click();
    void lblMail_Click();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void Form_Load(qint32 totFiles, qint32 totDirs);
    void fitCaptions();
    platform::UiService& ui_;
    QString productTitle_;
    QString versionText_;
};
