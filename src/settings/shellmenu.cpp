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
    if (!platform::writeFileManagerEntries(program.isEmpty() ? QCoreApplication::applicationFilePath() : program))
        showFailure(ui, parent, QStringLiteral("Error creating keys in file manager entry!"));
}

void deleteShellMenuKeys(platform::UiService& ui, QWidget* parent)
{
    if (!platform::removeFileManagerEntries())
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
