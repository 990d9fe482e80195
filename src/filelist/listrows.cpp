#include "filelist/listrows.h"
#include "engine/normalize.h"
#include "engine/sizetext.h"
#include "filelist/iconlists.h"
#include "platform/datetext.h"
#include "platform/failure.h"
#include "platform/fileops.h"
#include "platform/foldedkeys.h"
#include "platform/windowbusy.h"

#include <algorithm>
#include <cerrno>
#include <numeric>
#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QLocale>
#include <sys/stat.h>

namespace {

const QString kMain = QStringLiteral("main");
const QString kSelected = QStringLiteral("selected");

// Cells by column: Text and SubItems(1..9).
enum Cell { Name = 0, Preview, Path, Size, Date, Attrib, Ext, Type, SizeKey, DateKey };

// The date texts of one modification second, looked up once per second and rebuild.
struct DateTexts {
    QString text, key;
};
using DateMemo = QHash<qint64, DateTexts>;

const DateTexts& dateTexts(const timespec& when, const QLocale& locale, DateMemo& memo)
{
    auto it = memo.find(qint64(when.tv_sec));
    if (it == memo.end()) {
        const QDateTime dt = platform::toDateTime(timespec{when.tv_sec, 0});
        it = memo.insert(qint64(when.tv_sec), DateTexts{platform::dateTimeText(dt, locale), platform::sortKeyText(dt)});
    }
    return *it;
}

void fillFrom(platform::ListRow& row, bool isDir, qint64 size, const timespec& modified, int attributes,
              const QLocale& locale, DateMemo& memo)
{
    const DateTexts& dates = dateTexts(modified, locale, memo);
    const QString& name = row.cells[Name];
    if (!isDir) {
        row.sizeBytes = size;
        row.cells[Size] = sizeText(double(size), locale);
        // Wider sizes keep all their digits; the list sorts the size column by bytes.
        row.cells[SizeKey] = normalizeNumbers(QString::number(size), 11);
    }
    row.cells[Date] = dates.text;
    row.cells[DateKey] = dates.key;
    row.cells[Attrib] = platform::attributeText(attributes);
    if (!isDir) {
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0)
            row.cells[Ext] = name.mid(dot + 1);
    }
    row.cells[Type] = isDir ? QStringLiteral("Dir") : QStringLiteral("File");
}

void fillDetails(platform::ListRow& row, const QString& path, bool isDir, const QByteArray& native,
                 const QLocale& locale, DateMemo& memo)
{
    const QByteArray onDisk = native.isEmpty() ? QFile::encodeName(path) : native;
    const auto info = platform::entryInfoNative(onDisk);
    if (!info)
        throw platform::failureFromErrno(errno ? errno : ENOENT);
    fillFrom(row, isDir, info->size, info->modified, platform::attributesNative(onDisk, *info), locale, memo);
}

// `lastDir` holds the directory text of the row before: the rows of one
// directory share it instead of each holding a copy.
platform::ListRow bareRow(const QString& path, bool isDir, QString* lastDir = nullptr)
{
    platform::ListRow row;
    const qsizetype k = path.lastIndexOf(QLatin1Char('/'));
    row.isDir = isDir;
    row.cells[Name] = path.mid(k + 1);
    const QStringView dir = QStringView(path).left(k + 1);
    if (!lastDir) {
        row.cells[Path] = dir.toString();
    } else {
        if (*lastDir != dir)
            *lastDir = dir.toString();
        row.cells[Path] = *lastDir;
    }
    return row;
}

platform::ListRow makeRow(const QString& path, bool isDir, bool allColumns, const QByteArray& native,
                          const QLocale& locale, DateMemo& memo, QString* lastDir = nullptr)
{
    platform::ListRow row = bareRow(path, isDir, lastDir);
    if (allColumns)
        fillDetails(row, path, isDir, native, locale, memo);
    return row;
}

class ListBuilder {
public:
    // The boxes are read once, as the build starts.
    explicit ListBuilder(FileListHost& h) : h_(h), s_(*h.files), t_(h.readTicks()) {}
    bool run();

private:
    bool addRows(const QStringList& paths, bool isDir);
    const ReadEntryDetails* readDetails(const QStringList& paths, bool isDir, qsizetype i);
    void progress();
    void failurePath(const QString& errorLine);

    FileListHost& h_;
    FileListState& s_;
    const ListTicks t_;
    std::vector<platform::ListRow> rows_;
    const QLocale locale_ = QLocale::system();
    DateMemo memo_;
    QString lastDir_;
    std::shared_ptr<const ReadDetails> details_;
    std::vector<signed char> folderUnchanged_; // per folder of the read: unknown (-1), no (0), yes (1)
    qint64 total_ = 0, done_ = 0;
    int shownPercent_ = -1;
};

void ListBuilder::progress()
{
    ++done_;
    const int percent = int(platform::roundHalfEven(double(done_) / double(total_) * 100.0));
    // The text only changes with the percentage; rewriting it per row costs more than the row.
    if (percent != shownPercent_) {
        shownPercent_ = percent;
        h_.statusBar->setPanelText(kMain, QStringLiteral("Building Listview... %1%").arg(percent));
    }
}

// What the read found of entry i of `paths`, while that still holds: the list
// is the one the read made, and the entry's directory has not changed since
// (an entry gone or renamed in between is queried again and fails as before).
const ReadEntryDetails* ListBuilder::readDetails(const QStringList& paths, bool isDir, qsizetype i)
{
    if (!details_)
        return nullptr;
    const QStringList& listed = isDir ? details_->dirs : details_->files;
    const std::vector<ReadEntryDetails>& found = isDir ? details_->dirDetails : details_->fileDetails;
    if (paths.constData() != listed.constData() || paths.size() != listed.size() || size_t(i) >= found.size())
        return nullptr;
    const ReadEntryDetails& d = found[size_t(i)];
    if (d.folder < 0 || size_t(d.folder) >= details_->folders.size())
        return nullptr;
    signed char& unchanged = folderUnchanged_[size_t(d.folder)];
    if (unchanged < 0) {
        const ReadFolderStamp& f = details_->folders[size_t(d.folder)];
        struct statx now {};
        unchanged = f.settled && ::statx(AT_FDCWD, f.native.constData(), AT_SYMLINK_NOFOLLOW, STATX_CTIME, &now) == 0 &&
                    now.stx_ctime.tv_sec == f.changed.tv_sec && long(now.stx_ctime.tv_nsec) == f.changed.tv_nsec;
    }
    return unchanged ? &d : nullptr;
}

bool ListBuilder::addRows(const QStringList& paths, bool isDir)
{
    const bool all = h_.options->showAllColumns == 1;
    const qint16 flag = isDir ? -1 : 0;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString& p = paths[i];
        try {
            const qint16 small = getSysIcon(h_, p, flag);
            const ReadEntryDetails* found = all ? readDetails(paths, isDir, i) : nullptr;
            platform::ListRow row;
            if (found) {
                row = bareRow(p, isDir, &lastDir_);
                fillFrom(row, isDir, found->size, found->modified, found->attributes, locale_, memo_);
            } else {
                row = makeRow(p, isDir, all, s_.undecodable.value(p), locale_, memo_, &lastDir_);
            }
            row.smallIcon = small;
            row.largeIcon = s_.sysIconLargeIndex;
            rows_.push_back(std::move(row));
        } catch (const platform::Failure& f) {
            failurePath(f.errorText() + QStringLiteral("updateListview: ") + p);
            return false;
        }
        progress();
        if (h_.ui->pollEscape()) {
            failurePath(QString());
            return false;
        }
    }
    return true;
}

void ListBuilder::failurePath(const QString& errorLine)
{
    if (!errorLine.isEmpty())
        h_.logs->logError(errorLine);
    s_.lstDirs[0].clear();
    s_.lstFiles[0].clear();
    s_.undecodable.clear();
    h_.lwDirectory->clear();
    h_.treeView->clear();
    h_.statusBar->setPanelText(kSelected, errorLine.isEmpty() ? QStringLiteral("User Cancelled!")
                                                              : QStringLiteral("Error Building Listview!"));
    if (*h_.executeBusy == 0 && h_.window)
        platform::enableWindow(h_.window);
    if (h_.updateExecuteButton)
        h_.updateExecuteButton();
    h_.ui->setMousePointer(0);
}

// Directories before files, each group by name without regard to case; equal
// names keep their path-list order.
void sortRows(std::vector<platform::ListRow>& rows)
{
    platform::FoldedKeys keys;
    size_t units = 0;
    for (const platform::ListRow& r : rows)
        units += size_t(r.cells[Name].size());
    keys.reserve(rows.size(), units);
    for (const platform::ListRow& r : rows)
        keys.add(r.cells[Name]);
    std::vector<size_t> order(rows.size());
    std::iota(order.begin(), order.end(), size_t(0));
    const auto before = [&](size_t a, size_t b) {
        if (rows[a].isDir != rows[b].isDir)
            return rows[a].isDir;
        return keys[a] < keys[b];
    };
    // One directory's rows come in name order already.
    if (std::is_sorted(order.begin(), order.end(), before))
        return;
    std::stable_sort(order.begin(), order.end(), before);
    // Row `order[p]` goes to place p. Moved in place one cycle at a time: a
    // second list of rows would be as large as the first and touched at random.
    for (size_t start = 0; start < order.size(); ++start) {
        if (order[start] == start)
            continue;
        platform::ListRow held = std::move(rows[start]);
        size_t p = start;
        while (order[p] != start) {
            const size_t from = order[p];
            rows[p] = std::move(rows[from]);
            order[p] = p;
            p = from;
        }
        rows[p] = std::move(held);
        order[p] = p;
    }
}

bool ListBuilder::run()
{
    const FileListOptions& o = *h_.options;
    const bool dirs = t_.dirs == 1 || o.alwaysShowDirs == 1;
    const bool files = t_.files == 1;
    total_ = (dirs ? s_.lstDirs[0].size() : 0) + (files ? s_.lstFiles[0].size() : 0);
    // The read's details serve this one build only.
    details_ = std::move(s_.readDetails);
    if (details_)
        folderUnchanged_.assign(details_->folders.size(), -1);
    h_.statusBar->setPanelText(kMain, QStringLiteral("Building Listview..."));
    h_.statusBar->setPanelText(kSelected, QStringLiteral("Press escape to cancel..."));
    h_.lwDirectory->clear();
    QCoreApplication::processEvents();
    rows_.reserve(size_t(total_));
    if (dirs && !addRows(s_.lstDirs[0], true))
        return false;
    if (files && !addRows(s_.lstFiles[0], false))
        return false;
    sortRows(rows_);
    const bool any = !rows_.empty();
    h_.lwDirectory->setRows(std::move(rows_));
    // No row is selected after a rebuild; the first one has the focus.
    if (any)
        h_.lwDirectory->setCurrentRow(0);
    s_.dirSortOrder = 1;
    s_.listOrderChanged = 0;
    if (t_.thumbnails == 1 && h_.generateThumbnails)
        h_.generateThumbnails();
    return true;
}

} // namespace

platform::ListRow entryRow(const QString& path, bool isDir, bool allColumns, const QByteArray& native)
{
    DateMemo memo;
    return makeRow(path, isDir, allColumns, native, QLocale::system(), memo);
}

bool updateListview(FileListHost& host)
{
    return ListBuilder(host).run();
}
