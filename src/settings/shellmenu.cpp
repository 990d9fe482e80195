#include "settings/shellmenu.h"

#include "platform/filemanagerentry.h"
#include "platform/uiservice.h"

#include <QCoreApplication>
#include <QGuiApplication>

namespace {

void showFailure(platform::UiService& ui, QWidget* parent, const QString& text)
{
    // No caption of its own: the application's name, as every untitled box shows.
    ui.message(parent, QGuiApplication::applicationDisplayName(), text, QMessageBox::Critical, QMessageBox::Ok,
               QMessageBox::Ok);
}

} // namespace

void createShellMenuKeys(platform::UiService& ui, QWidget* parent, const QString& program)
{
    const platform::FileManagerFailures failures =
        platform::writeFileManagerEntries(program.isEmpty() ? QCoreApplication::applicationFilePath() : program);
    if (!failures.empty())
        showFailure(
            ui, parent,
            platform::fileManagerFailureText(QStringLiteral("Error creating keys in file manager entry!"), failures));
}

void deleteShellMenuKeys(platform::UiService& ui, QWidget* parent)
{
    const platform::FileManagerFailures failures = platform::removeFileManagerEntries();
    if (!failures.empty())
        showFailure(
            ui, parent,
            platform::fileManagerFailureText(QStringLiteral("Error deleting keys from file manager entry!"), failures));
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
