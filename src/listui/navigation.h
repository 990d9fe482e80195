#pragma once
#include "filelist/host.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QList>
#include <QObject>
#include <QString>

// The parent of a path box text: the text up to and including the "/" before
// its last part (a trailing "/" is skipped); "" when there is none.
QString parentPath(const QString& path);

// Moving between working directories: the path box with its history, the
// pattern box, the parent, refresh and Change Directory commands. They all
// end in the go-to routine txtPath_LostFocus, or read directly; the read
// itself is the main window's (readDirectoryWanted). The group handles the
// two boxes it is given; the main window connects the buttons' clicks.
class Navigation : public QObject {
    Q_OBJECT
public:
    Navigation(const FileListHost& host, QComboBox* txtPath, QLineEdit* txtPattern, QObject* parent);

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
    // Puts `dir` into the path box and runs the go-to routine.
    void goTo(const QString& dir);
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
    // The main window shows the Directory mode and runs its file-mode handling.
    void directoryModeWanted();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void selectPathText();
    // Asks for the read; the focus stays where it was.
    void reload();
    FileListHost host_;
    QComboBox* txtPath_;
    QLineEdit* txtPattern_;
    bool reloading_ = false;
};
