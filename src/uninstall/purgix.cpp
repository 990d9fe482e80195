#include "uninstall/purgix.h"

#include "platform/filemanagerentry.h"
#include "platform/settingsstore.h"
#include "platform/uiservice.h"

namespace {

const QString dirsKey = QStringLiteral("totNumberOfDirsRenamedNew");
const QString filesKey = QStringLiteral("totNumberOfFilesRenamedNew");
// What an absent statistic reads as.
const QString absentStatistic = QStringLiteral("-1");

// The one question the tool asks; Yes is the default answer.
bool askYes(platform::UiService& ui, const QString& title, const QString& text)
{
    return ui.message(nullptr, title, text, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
                      QMessageBox::Yes) == QMessageBox::Yes;
}

// A statistic is put back unless it reads as the number -1 (absent). A text that
// is no number cannot equal -1, so it goes back as it was read.
bool storedStatistic(const QString& text)
{
    bool isNumber = false;
    const double value = text.trimmed().toDouble(&isNumber);
    return !isNumber || value != -1.0;
}

// Removes every setting but the two rename statistics, which go back unchanged.
void removeKeepingStatistics(platform::SettingsStore& store)
{
    const QString dirs = store.value(dirsKey, absentStatistic);
    const QString files = store.value(filesKey, absentStatistic);
    store.deleteSection();
    if (storedStatistic(dirs))
        store.setValue(dirsKey, dirs);
    if (storedStatistic(files))
        store.setValue(filesKey, files);
}

// A store that could not be read is left as it is, and the user told so.
bool storeReadable(platform::UiService& ui, const platform::SettingsStore& store)
{
    if (store.readError() == 0)
        return true;
    ui.message(nullptr, QStringLiteral("Vexor Renamer Purgix"),
               QStringLiteral("The settings file %1 %2. The settings were not removed.")
                   .arg(store.fileName(), store.readProblem()),
               QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok);
    return false;
}

// The removal reaches the file, or the user is told that it did not.
bool storeWritten(platform::UiService& ui, platform::SettingsStore& store)
{
    if (store.sync())
        return true;
    const QString reason = store.writeFailure() ? store.writeFailure()->errorText().trimmed() : QString();
    ui.message(nullptr, QStringLiteral("Vexor Renamer Purgix"),
               QStringLiteral("The settings file %1 could not be written: %2. The settings were not removed.")
                   .arg(store.fileName(), reason),
               QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok);
    return false;
}

// The file-manager actions would otherwise outlive the renamer and start a
// missing program; one that stays is named with its file, so the user can
// take it out by hand.
bool removeWhatLivesElsewhere(platform::UiService& ui)
{
    const platform::FileManagerFailures failures = platform::removeFileManagerEntries();
    if (failures.empty())
        return true;
    ui.message(
        nullptr, QStringLiteral("Vexor Renamer Purgix"),
        platform::fileManagerFailureText(QStringLiteral("Error deleting keys from file manager entry!"), failures),
        QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok);
    return false;
}

bool askRemove(platform::UiService& ui)
{
    if (!askYes(ui, QStringLiteral("Vexor Renamer Purgix"),
                QStringLiteral("Do you want to remove the Vexor Renamer settings from this computer?")))
        return true;
    platform::SettingsStore store;
    bool done = storeReadable(ui, store);
    if (done) {
        removeKeepingStatistics(store);
        done = storeWritten(ui, store);
    }
    const bool entriesGone = removeWhatLivesElsewhere(ui);
    return done && entriesGone;
}

bool askKeep(platform::UiService& ui)
{
    if (askYes(ui, QStringLiteral("Vexor Renamer Uninstall"),
               QStringLiteral("Do you want to keep the Vexor Renamer settings?\n\n"
                              "This is recommended if you are upgrading Vexor Renamer or have other versions "
                              "installed.")))
        return true;
    platform::SettingsStore store;
    bool done = storeReadable(ui, store);
    if (done) {
        store.deleteSection();
        done = storeWritten(ui, store);
    }
    const bool entriesGone = removeWhatLivesElsewhere(ui);
    return done && entriesGone;
}

} // namespace

bool purgixMain(const QStringList& arguments, platform::UiService& ui)
{
    if (arguments.join(QLatin1Char(' ')).contains(QLatin1String("uninst"), Qt::CaseSensitive))
        return askKeep(ui);
    return askRemove(ui);
}
