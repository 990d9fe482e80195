#include "listui/navigation.h"

#include "platform/failure.h"
#include "platform/fileops.h"
#include "platform/pathbox.h"
#include "settings/commandline.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

QString parentPath(const QString& path)
{
    // Search backwards from the second-to-last character, so a trailing "/" is skipped.
    if (path.size() < 2)
        return {};
    const qsizetype i = path.lastIndexOf(QLatin1Char('/'), path.size() - 2);
    return i < 0 ? QString() : path.left(i + 1);
}

Navigation::Navigation(const FileListHost& host, QComboBox* txtPath, QLineEdit* txtPattern, QObject* parent)
    : QObject(parent), host_(host), txtPath_(txtPath), txtPattern_(txtPattern)
{
    actRefresh = new QAction(this);
    actRefresh->setObjectName(QStringLiteral("actRefresh"));
    actRefresh->setShortcut(QKeySequence(Qt::Key_F12));
    actRefresh->setShortcutContext(Qt::WindowShortcut);
    connect(actRefresh, &QAction::triggered, this, &Navigation::cmdRefresh_Click);

    QComboBox* box = txtPath_;
    // The history changes only by a complete read; a typed text is never
    // completed from it either, so Enter reads exactly what was typed.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    connect(box, &QComboBox::editTextChanged, this, &Navigation::txtPath_Change);
    // A choice from the history acts as Enter once the choosing is over.
    connect(box, &QComboBox::activated, this, [this] { QTimer::singleShot(0, this, &Navigation::txtPath_Click); });
    box->installEventFilter(this);
    txtPattern_->installEventFilter(this);
}

QList<QAction*> Navigation::actions() const
{
    return {actRefresh};
}

bool Navigation::eventFilter(QObject* watched, QEvent* e)
{
    const bool path = watched == txtPath_;
    if (!path && watched != txtPattern_)
        return false;
    switch (e->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        // An opening drop-down list or another window taking the activation
        // is no visit to the box.
        // The focus that a read takes away while it disables the window is no
        // visit either.
        const Qt::FocusReason r = static_cast<QFocusEvent*>(e)->reason();
        if (r == Qt::PopupFocusReason || r == Qt::ActiveWindowFocusReason || reloading_ || !host_.window->isEnabled())
            return false;
        if (e->type() == QEvent::FocusIn)
            path ? txtPath_GotFocus() : txtPattern_GotFocus();
        else
            path ? txtPath_LostFocus() : txtPattern_LostFocus();
        return false;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(e)->key();
        return path ? txtPath_KeyPress(key) : txtPattern_KeyPress(key);
    }
    default:
        return false;
    }
}

void Navigation::reload()
{
    const QPointer<QWidget> focus = QApplication::focusWidget();
    reloading_ = true;
    emit readDirectoryWanted();
    if (focus && !QApplication::focusWidget() && focus->isVisible() && focus->isEnabled())
        focus->setFocus(Qt::OtherFocusReason);
    reloading_ = false;
}

void Navigation::setPathColour(bool listable)
{
    platform::setPathColour(txtPath_, listable);
}

bool Navigation::pathIsRed() const
{
    return platform::pathIsRed(txtPath_);
}

void Navigation::selectPathText()
{
    if (QLineEdit* edit = txtPath_->lineEdit())
        edit->setSelection(0, int(edit->text().size()));
}

void Navigation::txtPath_Change()
{
    QString text = txtPath_->currentText();
    if (!text.endsWith(QLatin1Char('/')))
        text += QLatin1Char('/');
    setPathColour(directoryListable(text));
}

void Navigation::txtPath_Click()
{
    txtPath_KeyPress(Qt::Key_Return);
}

void Navigation::txtPath_GotFocus()
{
    host_.files->previousPath = txtPath_->currentText();
    selectPathText();
}

bool Navigation::txtPath_KeyPress(int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    txtPath_LostFocus();
    selectPathText();
    return true;
}

void Navigation::txtPath_LostFocus()
{
    FileListState& s = *host_.files;
    QString text = txtPath_->currentText();
    if (text.isEmpty()) {
        // An emptied box shows the request for a directory; it never turns
        // into the root by the trailing "/" below.
        if (!s.listedDirectory.isEmpty() || !s.previousPath.isEmpty())
            reload();
        return;
    }
    if (text == s.previousPath)
        return;
    if (!text.endsWith(QLatin1Char('/'))) {
        text += QLatin1Char('/');
        txtPath_->setEditText(text);
    }
    if (!directoryListable(text)) {
        setPathColour(false);
        return;
    }
    reload();
    if (s.listedDirectory != txtPath_->currentText())
        setPathColour(false);
}

void Navigation::goTo(const QString& dir)
{
    txtPath_->setEditText(dir);
    txtPath_LostFocus();
}

void Navigation::txtPattern_GotFocus()
{
    previousPattern = txtPattern_->text();
    txtPattern_->selectAll();
}

bool Navigation::txtPattern_KeyPress(int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    txtPattern_LostFocus();
    return true;
}

void Navigation::txtPattern_LostFocus()
{
    QLineEdit* box = txtPattern_;
    if (box->text() == previousPattern)
        return;
    if (box->text().isEmpty())
        box->setText(QStringLiteral("*.*"));
    previousPattern = box->text();
    // An empty previous path makes the go-to routine read again.
    host_.files->previousPath.clear();
    txtPath_LostFocus();
}

void Navigation::cmdParentDir_Click()
{
    stopPreview(*host_.preview);
    const QString text = txtPath_->currentText();
    host_.files->previousPath = text;
    const bool byKey = parentDirByKey != 0;
    // The flag holds only for this request, however it ends.
    parentDirByKey = 0;
    const QString parent = parentPath(text);
    if (parent.isEmpty())
        return; // the root has no parent
    try {
        if ((platform::getAttributes(parent) & platform::attr::Directory) == 0)
            return;
    } catch (const platform::Failure& f) {
        host_.logs->logError(f.errorText() + QStringLiteral("cmdParentDir"));
        return;
    }
    txtPath_->setEditText(parent);
    txtPath_LostFocus();
    if (byKey)
        return;
    if (txtPath_->hasFocus())
        txtPath_GotFocus();
    else
        txtPath_->setFocus(Qt::OtherFocusReason);
}

void Navigation::cmdRefresh_Click()
{
    stopPreview(*host_.preview);
    refreshDirectoryView();
    txtPath_->setFocus(Qt::OtherFocusReason);
}

void Navigation::refreshDirectoryView()
{
    emit directoryModeWanted();
    reload();
}

void Navigation::cmdShowDirReq_Click()
{
    QString start = txtPath_->currentText();
    if (start.endsWith(QLatin1Char('/')) && start != QLatin1String("/"))
        start.chop(1);
    QString chosen = host_.ui->folder(host_.window, QStringLiteral("Choose Working Directory:"), start);
    if (!chosen.isEmpty() && chosen != start) {
        emit directoryModeWanted();
        if (!chosen.endsWith(QLatin1Char('/')))
            chosen += QLatin1Char('/');
        txtPath_->setEditText(chosen);
        reload();
    }
    txtPath_->setFocus(Qt::OtherFocusReason);
}
