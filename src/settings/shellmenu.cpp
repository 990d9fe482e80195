#include "settings/shellmenu.h"

#include "platform/uiservice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>

namespace {

bool isControl(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7F && u <= 0x9F);
}

void showFailure(platform::UiService& ui, QWidget* parent, const QString& text)
{
    // No caption of its own: the application's name, as every untitled box shows.
    ui.message(parent, QGuiApplication::applicationDisplayName(), text, QMessageBox::Critical, QMessageBox::Ok,
               QMessageBox::Ok);
}

} // namespace

QString shellMenuEntryPath()
{
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || QDir::isRelativePath(data))
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return data + QStringLiteral("/applications/vexorren-folder.desktop");
}

QString desktopExecArgument(const QString& text)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : text) {
        if (isControl(c))
            return QString();
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        if (c == u'%')
            quoted += u'%';
        quoted += c;
    }
    quoted += u'"';
    // The string-value escapes come on top of the Exec quoting.
    return quoted.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
}

QString shellMenuEntryText(const QString& program)
{
    const QString exec = desktopExecArgument(program);
    if (exec.isEmpty() || !QDir::isAbsolutePath(program))
        return QString();
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Start Vexor Renamer...\n"
                          "Exec=%1 /p %f\n"
                          "MimeType=inode/directory;\n"
                          "NoDisplay=true\n")
        .arg(exec);
}

void createShellMenuKeys(platform::UiService& ui, QWidget* parent, const QString& program)
{
    const QString text = shellMenuEntryText(program.isEmpty() ? QCoreApplication::applicationFilePath() : program);
    const QString path = shellMenuEntryPath();
    bool ok = !text.isEmpty() && QDir().mkpath(QFileInfo(path).path());
    if (ok) {
        // Written beside the old entry and renamed over it.
        QSaveFile file(path);
        ok = file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.commit();
    }
    if (!ok)
        showFailure(ui, parent, QStringLiteral("Error creating keys in file manager entry!"));
}

void deleteShellMenuKeys(platform::UiService& ui, QWidget* parent)
{
    const QString path = shellMenuEntryPath();
    const QFileInfo info(path);
    // A link counts as the entry too, wherever it points.
    if (!info.exists() && !info.isSymLink())
        return;
    if (!QFile::remove(path))
        showFailure(ui, parent, QStringLiteral("Error deleting keys from file manager entry!"));
}

ShellMenuStep shellMenuStep(platform::UiService& ui, QWidget* parent)
{
    return [&ui, parent](bool create) {
        if (create)
            createShellMenuKeys(ui, parent);
        else
            deleteShellMenuKeys(ui, parent);
    };
}
