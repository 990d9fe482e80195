#include "settings/loadsave.h"

#include "engine/logs.h"
#include "engine/textutil.h"
#include "platform/arguments.h"
#include "platform/datetext.h"
#include "platform/settingsstore.h"
#include "settings/commandline.h"
#include "settings/configfiles.h"
#include "settings/failurememo.h"
#include "settings/settingskeys.h"
#include "settings/storeforms.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <QSet>

namespace {

QString historyKey(int i)
{
    return QStringLiteral("pathHistory") + QString::number(i);
}

QString numberDefault(double v)
{
    return QString::number(v, 'f', 1);
}

// A path for a message line: a long one keeps its start and its end.
QString shortened(const QString& text)
{
    constexpr qsizetype kKept = 120;
    return text.size() <= 2 * kKept + 3 ? text : text.left(kKept) + QStringLiteral("...") + text.right(kKept);
}

class Loader {
public:
    Loader(platform::SettingsStore& store, const LoadContext& context, Settings& settings, ConfigTables& tables)
        : store_(store), context_(context), s_(settings), tables_(tables)
    {
    }

    bool run(Logs& logs)
    {
        loadGeometry();
        keys("chkShowTreeview", "tabStripFilemode");
        const StartPath start = commandLine();
        // A path given that cannot be looked at still names the folder the
        // user wanted: the last one used is not opened in its place.
        if (start.path.isEmpty() && !pathUnusable_)
            storedStartDirectory();
        // The stored pattern is read in any case: a pattern from the command
        // line is for this run only, and the save writes the stored one back.
        keys("txtPattern", "txtPattern");
        s_.storedPattern = s_.txtPattern;
        if (!start.path.isEmpty() && !start.pattern.isEmpty()) {
            s_.txtPattern = start.pattern;
            s_.commandLinePattern = start.pattern;
        }
        keys("txtMp3Format", "chkEnumTab");
        keys("processHidden", "usePatternForDirs");
        s_.txtPatternEnabled = s_.usePatternForFiles != 0 || s_.usePatternForDirs != 0;
        keys("exceptionsEnabled", "thumbsHeight");
        boundReadSizes();
        boundPanelNumbers();
        readExceptionWords(context_.programFolder, tables_, memo_);
        keys("chkSpaceBeginning", "dragColWidth8");
        keys("chkFiles", "uncheckSubsdirsAtStartup");
        if (s_.uncheckSubsdirsAtStartup == 1)
            s_.chkSub = 0;
        keys("dragDropAddPath", "dragDropAddPath");
        configurationFiles();
        pathHistory();
        // A store that exists but cannot be read gave nothing but defaults.
        const int unreadable = store_.readError();
        if (unreadable != 0)
            memo_.remember(platform::failureFromErrno(unreadable));
        for (const QString& line : memo_.ownLines)
            logs.logError(line);
        if (memo_.any())
            logs.logError(memo_.lineWith(QStringLiteral("Error loading settings!")));
        // Saving over it would replace the user's settings with defaults, or a
        // device or FIFO with a file.
        if (unreadable != 0)
            logs.logError(QStringLiteral("The settings file ") + store_.fileName() + u' ' + store_.readProblem() +
                          QStringLiteral("; the settings will not be saved."));
        return unreadable == 0;
    }

private:
    platform::SettingsStore& store_;
    const LoadContext& context_;
    Settings& s_;
    ConfigTables& tables_;
    FailureMemo memo_;
    bool pathUnusable_ = false; // the path given cannot be looked at

    QString defaultText(const SettingsKey& key) const
    {
        switch (key.defaultKind) {
        case DefaultKind::CentreVertical:
            return numberDefault((context_.screenTwips.height() - double(s_.*key.centreSize)) / 2);
        case DefaultKind::CentreHorizontal:
            return numberDefault((context_.screenTwips.width() - double(s_.*key.centreSize)) / 2);
        case DefaultKind::Today:
            return platform::storedDateText(context_.now.date());
        case DefaultKind::Now:
            return platform::storedTimeText(context_.now.time());
        default:
            return QString::fromLatin1(key.defaultText);
        }
    }

    // Reads the keys of the table from `first` to `last`, each on its own.
    void keys(const char* first, const char* last)
    {
        const auto table = settingsKeys();
        const int end = settingsKeyIndex(last);
        for (int i = settingsKeyIndex(first); i <= end; ++i) {
            const SettingsKey& key = table[i];
            if (key.defaultKind == DefaultKind::None)
                continue;
            goOn(memo_, [&] {
                const QString text = store_.value(QString::fromLatin1(key.key), defaultText(key));
                try {
                    readStoredValue(key, text, s_);
                } catch (const platform::Failure&) {
                    showInPlaceOfUnread(key, text);
                    throw;
                }
            });
        }
    }

    // A stored date or time that cannot be read as one value: the picker
    // shows the time of the load, as with no stored value, and the text is
    // kept for the save and for the refusal of a run that would use it.
    void showInPlaceOfUnread(const SettingsKey& key, const QString& text)
    {
        const QDateTime now = context_.now;
        if (const auto* date = std::get_if<QDate Settings::*>(&key.target); date && *date == &Settings::dtDate) {
            s_.dtDate = now.date();
            s_.dtDateUnread = Settings::Unread<QDate>{text, s_.dtDate};
        } else if (const auto* time = std::get_if<QTime Settings::*>(&key.target); time && *time == &Settings::dtTime) {
            s_.dtTime = QTime(now.time().hour(), now.time().minute(), now.time().second());
            s_.dtTimeUnread = Settings::Unread<QTime>{text, s_.dtTime};
        }
    }

    void loadGeometry()
    {
        keys("Main_Height", "Main_Width");
        // A size no window can take would hide its controls: use the default.
        if (s_.Main_Width < mainMinWidth)
            s_.Main_Width = Settings{}.Main_Width;
        if (s_.Main_Height < mainMinHeight)
            s_.Main_Height = Settings{}.Main_Height;
        keys("Main_Top", "Main_Left");
        const QSize screen = context_.screenTwips;
        if (s_.Main_Top < 0)
            s_.Main_Top = 0;
        if (s_.Main_Left < 0)
            s_.Main_Left = 0;
        if (s_.Main_Top > screen.height())
            s_.Main_Top = 0;
        if (s_.Main_Left > screen.width())
            s_.Main_Left = 0;
        keys("Main_Maximized", "Execute_Height");
        if (s_.Execute_Width < logMinWidth)
            s_.Execute_Width = Settings{}.Execute_Width;
        if (s_.Execute_Height < logMinHeight)
            s_.Execute_Height = Settings{}.Execute_Height;
        keys("Execute_Top", "frmSettings_Left");
    }

    StartPath commandLine()
    {
        s_.startMode.clear();
        s_.exitAfterRun = 0;
        s_.startModeGiven = false;
        s_.startPathGiven = false;
        s_.startPathProblem.clear();
        s_.commandLinePattern.clear();
        if (context_.arguments.isEmpty())
            return {};
        const CommandLine line = scanCommandLine(context_.arguments);
        s_.startMode = line.startMode;
        s_.exitAfterRun = line.exitAfterRun;
        s_.startModeGiven = line.modeGiven;
        s_.startPathGiven = line.pathGiven;
        const StartPath start = splitStartPath(line.pathText);
        pathUnusable_ = !line.pathProblem.isEmpty();
        QString problem = line.pathProblem;
        if (!start.path.isEmpty() && directoryListable(start.path)) {
            s_.storedPath = start.path;
            // A window opens it all the same; a run nobody watches is refused.
            problem = unattendedStartProblem(start);
        } else if (line.pathGiven && !pathUnusable_)
            // An empty text opens the stored folder, as without one; only an
            // unattended run refuses it.
            problem = line.pathText.isEmpty() ? QStringLiteral("is empty") : directoryProblem(start.path);
        if (!problem.isEmpty() && !line.pathGivenText.isEmpty())
            problem += QStringLiteral(": ") + shortened(platform::printableText(line.pathGivenText));
        s_.startPathProblem = problem;
        return start;
    }

    void storedStartDirectory()
    {
        QString text = store_.value(QStringLiteral("txtPath"));
        if (s_.startupInLastDir == 0)
            text.clear();
        if (!text.isEmpty() && !text.endsWith(u'/'))
            text += u'/';
        // A stored directory that has since gone is simply forgotten.
        s_.storedPath = !text.isEmpty() && directoryListable(text) ? text : QString();
    }

    // Values that size reads and allocations must stay within.
    void boundReadSizes()
    {
        const auto thumb = [](int& v) { v = v == 0 ? 64 : std::clamp(v, 16, 256); };
        thumb(s_.thumbsWidth);
        thumb(s_.thumbsHeight);
        if (s_.mpegBytesToRead <= 0)
            s_.mpegBytesToRead = 8192;
        s_.mpegBytesToRead = std::min(s_.mpegBytesToRead, 16 * 1024 * 1024);
        if (s_.getHtmlTitle_ReadSize <= 0)
            s_.getHtmlTitle_ReadSize = 2048;
        s_.getHtmlTitle_ReadSize = std::min(s_.getHtmlTitle_ReadSize, 1024 * 1024);
    }

    // The find-and-replace start and count go into boxes whose spinner keeps
    // them within 0-999; only a hand-edited store holds another number, and it
    // is brought into that range as the spinner would.
    void boundPanelNumbers()
    {
        for (QString* text : {&s_.txtReplaceStart, &s_.txtReplaceCount}) {
            const double v = leadingNumber(*text);
            if (v < 0 || v > 999)
                *text = QString::number(std::clamp(v, 0.0, 999.0));
        }
    }

    void configurationFiles()
    {
        const QString& folder = context_.programFolder;
        readFileTypes(folder, tables_, memo_);
        readCodecNames(folder, tables_, memo_);
        readWaveFormatNames(folder, tables_, memo_);
        readBatchReplaceList(folder, tables_, memo_);
        s_.lblBatchReplace = batchReplaceCaption(qsizetype(tables_.batchReplaceList.size()));
    }

    void pathHistory()
    {
        keys("pathHistorySize", "pathHistorySize");
        const int size = std::max(0, s_.pathHistorySize);
        s_.pathHistory = QStringList(size + 1, QString());
        for (int i = 0; i < size; ++i)
            s_.pathHistory[i] = store_.value(historyKey(i));
    }
};

bool isDetailColumnWidth(const SettingsKey& key)
{
    const QString name = QString::fromLatin1(key.key);
    return key.form == StoreForm::Width && name.back() >= u'4' && name.back() <= u'8';
}

// A count as the load reads it: a text that is no count leaves the field 0.
qint64 storedCount(const QMap<QString, QString>& section, const QString& key)
{
    try {
        return wholeNumber(section.value(key, QStringLiteral("0")), std::numeric_limits<qint32>::min(),
                           std::numeric_limits<qint32>::max());
    } catch (const platform::Failure&) {
        return 0;
    }
}

// The non-empty history items, in index order.
QStringList historyItems(const QMap<QString, QString>& section, int size)
{
    QStringList items;
    for (int i = 0; i < size; ++i)
        if (const QString item = section.value(historyKey(i)); !item.isEmpty())
            items.append(item);
    return items;
}

// How many leading items of `ours` this run moved or added: the fewest after
// which `ours` goes on as `read` without them (cut, as `ours` was, at the
// history's size); nullopt when `ours` is not `read` with some items put first.
std::optional<qsizetype> movedHead(const QStringList& ours, const QStringList& read, int size)
{
    QSet<QString> taken;
    for (qsizetype head = 0; head <= ours.size(); ++head) {
        if (head > 0)
            taken.insert(ours[head - 1]);
        qsizetype next = head;
        bool same = true;
        for (const QString& item : read) {
            if (taken.contains(item))
                continue;
            if (next == size)
                break;
            if (next == ours.size() || ours[next] != item) {
                same = false;
                break;
            }
            ++next;
        }
        if (same && next == ours.size())
            return head;
    }
    return std::nullopt;
}

// Several runs may share the store and save at once, each over what the
// others saved. Each adds its own renames to the statistics, and puts the
// folders it listed first (the leading items of its history that are not
// where it read them) before the history the file holds now.
void mergeWithOtherRuns(const platform::SettingsStore::Versions& v, QMap<QString, QString>& merged)
{
    for (const QString& key :
         {QStringLiteral("totNumberOfFilesRenamedNew"), QStringLiteral("totNumberOfDirsRenamedNew")}) {
        if (v.ours.value(key) == v.read.value(key))
            continue;
        int count = int(storedCount(v.file, key));
        addToCount(count, storedCount(v.ours, key) - storedCount(v.read, key));
        merged.insert(key, QString::number(count));
    }

    int size = 0;
    try {
        size = wholeNumber(v.ours.value(QStringLiteral("pathHistorySize")), 0, 32767);
    } catch (const platform::Failure&) {
        return;
    }
    const QStringList ours = historyItems(v.ours, size);
    const std::optional<qsizetype> head = movedHead(ours, historyItems(v.read, size), size);
    // A list that is not the one read with folders put first is written as
    // it is.
    QStringList history = head ? ours.first(*head) : ours;
    const QSet<QString> moved(history.cbegin(), history.cend());
    if (head)
        for (const QString& item : historyItems(v.file, size))
            if (history.size() < size && !moved.contains(item))
                history.append(item);
    for (int i = 0; i < size; ++i)
        merged.insert(historyKey(i), i < history.size() ? history[i] : QString());
}

void writeKeys(platform::SettingsStore& store, std::span<const char* const> names, const Settings& s, FailureMemo& memo)
{
    for (const char* name : names) {
        const SettingsKey& key = settingsKeys()[settingsKeyIndex(name)];
        if (isDetailColumnWidth(key) && s.showAllColumns != 1)
            continue;
        // A date or time this run did not change keeps its text, also one in
        // another locale's form or one this run could not read.
        if (const QString stored = QString::fromLatin1(key.key);
            store.contains(stored) && storedTextHolds(key, store.value(stored), s))
            continue;
        goOn(memo, [&] { store.setValue(QString::fromLatin1(key.key), storedText(key, s)); });
    }
}

} // namespace

bool loadSettings(platform::SettingsStore& store, Logs& logs, const LoadContext& context, Settings& settings,
                  ConfigTables& tables)
{
    return Loader(store, context, settings, tables).run(logs);
}

bool saveSettings(platform::SettingsStore& store, Logs& logs, const QString& programFolder, const Settings& settings,
                  const ConfigTables& tables, const ShellMenuStep& shellMenuStep)
{
    // A store that could not be read is never written over, and the shell step
    // would act on defaults; the lists were read on their own.
    if (store.readError() != 0) {
        writeConfigLists(programFolder, tables, logs);
        return true;
    }
    store.setMergeRule(mergeWithOtherRuns);
    // A pattern that came from the command line and is still in the box was
    // for that run only: the stored one stays.
    Settings kept;
    const bool patternFromCommandLine =
        !settings.commandLinePattern.isEmpty() && settings.txtPattern == settings.commandLinePattern;
    if (patternFromCommandLine) {
        kept = settings;
        kept.txtPattern = settings.storedPattern;
    }
    const Settings& toStore = patternFromCommandLine ? kept : settings;
    FailureMemo memo;
    writeKeys(store, saveKeysBeforeShellStep(), toStore, memo);
    if (shellMenuStep)
        shellMenuStep(settings.shellShowVexor == 1);
    writeKeys(store, saveKeysAfterShellStep(), settings, memo);

    // Failures of these keys are not reported.
    static const char* const historySize[] = {"pathHistorySize"};
    static const char* const last[] = {"exceptionsEnabled"};
    FailureMemo unreported;
    writeKeys(store, historySize, settings, unreported);
    for (int i = 0; i < settings.pathHistorySize; ++i)
        store.setValue(historyKey(i), i < settings.pathHistory.size() ? settings.pathHistory[i] : QString());
    writeKeys(store, last, settings, unreported);
    // Every key reaches the disk in this one write, or none does: its failure
    // is the save's last, and the line comes before the lists' own.
    const bool written = store.sync();
    if (!written && store.writeFailure())
        memo.remember(*store.writeFailure());
    if (memo.any())
        logs.logError(memo.lineWith(QStringLiteral("Error saving settings!")));
    writeConfigLists(programFolder, tables, logs);
    return written;
}

QString settingsNotSavedText(const platform::SettingsStore& store)
{
    const std::optional<platform::Failure>& failure = store.writeFailure();
    // The failure may name the lock file, a path like the store's.
    return (failure ? escapeControlChars(failure->errorText()) : QString()) +
           QStringLiteral("Error saving settings!\n\nThe settings file ") + escapeControlChars(store.fileName()) +
           QStringLiteral(" could not be written; the settings were not saved.");
}
