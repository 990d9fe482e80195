#pragma once
#include "engine/logs.h"
#include "engine/previewstate.h"
#include "filelist/filelists.h"
#include "platform/controls.h"
#include "platform/uiservice.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QList>
#include <QObject>
#include <QString>

// What the navigation commands touch: the path row of the file pane and the
// program's state. The main window fills it once.
struct NavigationParts {
    QWidget* window = nullptr; // owner of the folder dialog
    platform::UiService* ui = nullptr;
    Logs* logs = nullptr;
    FileListState* files = nullptr; // listedDirectory, previousPath
    PreviewState* preview = nullptr;
    platform::TabStrip* tabStripFilemode = nullptr;
    QComboBox* txtPath = nullptr;
    QLineEdit* txtPattern = nullptr;
    QAbstractButton* cmdParentDir = nullptr;
    QAbstractButton* cmdRefresh = nullptr;
    QAbstractButton* cmdShowDirReq = nullptr;
};

// The parent of a path box text: the text up to and including the "/" before
// its last part (a trailing "/" is skipped); "" when there is none.
QString parentPath(const QString& path);

// Moving between working directories: the path box with its history, the
// pattern box, the parent, refresh and Change Directory commands. They all
// end in the go-to routine txtPath_LostFocus, or read directly; the read
// itself is the main window's (readDirectoryWanted).
class Navigation : public QObject {
    Q_OBJECT
public:
    Navigation(const NavigationParts& parts, QObject* parent);

    // F12: refresh.
    QList<QAction*> actions() const;
    QAction* actRefresh;

    // -1 while a parent request started by Backspace in a list or the tree
    // runs: the focus then stays where it is.
    qint16 parentDirByKey = 0;
    QString previousPattern;

    void txtPath_Change();
    void txtPath_Click();
    void txtPath_GotFocus();
    // True when the key was handled (and goes no further).
    bool txtPath_KeyPress(int key);
    // The go-to-directory routine.
    void txtPath_LostFocus();
    void txtPattern_GotFocus();
    bool txtPattern_KeyPress(int key);
    void txtPattern_LostFocus();
    void cmdParentDir_Click();
    void cmdRefresh_Click();
    void refreshDirectoryView();
    void cmdShowDirReq_Click();

    // Colours the path box: black for a directory that can be listed, red otherwise.
    void setPathColour(bool listable);
    bool pathIsRed() const;

signals:
    // The main window reads the working directory and rebuilds its views.
    void readDirectoryWanted();
    // The main window runs its file-mode tab handling.
    void fileModeClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void selectPathText();
    // Asks for the read; the focus stays where it was.
    void reload();
    NavigationParts p_;
    bool reloading_ = false;
};
