#include "settings/shellmenu.h"

#include "engine/logs.h"
#include "platform/filemanagerentry.h"
#include "platform/uiservice.h"

#include <QCoreApplication>
#include <QGuiApplication>

namespace {

// A place left unwritten, or an entry left behind, is an error of the run
// like a failed save: its lines go into the error log, which a run from a
// script reads (and which raises its exit status), and the box tells the
// user at once.
void reportFailures(platform::UiService& ui, QWidget* parent, Logs& logs, const QString& heading,
                    const platform::FileManagerFailures& failures)
{
    if (failures.empty())
        return;
    // The log escapes what a path holds itself, and keeps it whole.
    for (const platform::FileManagerFailure& failure : failures)
        logs.logError(heading + u' ' + failure.path + u' ' + failure.reason + u'.');
    // No caption of its own: the application's name, as every untitled box shows.
    ui.message(parent, QGuiApplication::applicationDisplayName(), platform::fileManagerFailureText(heading, failures),
               QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok);
}

} // namespace

void createShellMenuKeys(platform::UiService& ui, QWidget* parent, Logs& logs, const QString& program)
{
    reportFailures(
        ui, parent, logs, QStringLiteral("Error creating keys in file manager entry!"),
        platform::writeFileManagerEntries(program.isEmpty() ? QCoreApplication::applicationFilePath() : program));
}

void deleteShellMenuKeys(platform::UiService& ui, QWidget* parent, Logs& logs)
{
    reportFailures(ui, parent, logs, QStringLiteral("Error deleting keys from file manager entry!"),
                   platform::removeFileManagerEntries());
}

ShellMenuStep shellMenuStep(platform::UiService& ui, QWidget* parent, Logs& logs)
{
    return [&ui, parent, &logs](bool create) {
        if (create)
            createShellMenuKeys(ui, parent, logs);
        else
            deleteShellMenuKeys(ui, parent, logs);
    };
}
