#include "filelist/readdirectory.h"
#include "filelist/iconlists.h"
#include "filelist/systemfolders.h"
#include "platform/arguments.h"
#include "platform/failure.h"
#include "platform/fileops.h"
#include "platform/foldedkeys.h"
#include "platform/wildcard.h"
#include "platform/windowbusy.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <future>
#include <map>
#include <memory>
#include <numeric>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRunnable>
#include <QStringBuilder>
#include <QStringDecoder>
#include <QThreadPool>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <time.h>
#include <vector>

namespace {

using platform::attr::Hidden;
using platform::attr::ReadOnly;
using platform::attr::System;

const QString kMain = QStringLiteral("main");
const QString kPreview = QStringLiteral("preview");
const QString kSelected = QStringLiteral("selected");
constexpr qint64 kYieldIntervalMs = 10;

void yieldToEvents()
{
    QCoreApplication::processEvents();
}

// ------------------------------------------------------------ one directory

struct Entry {
    // The name's bytes on disk (without their NUL) and its text, as places in
    // the listing's two buffers: a directory of thousands holds two blocks of
    // names rather than a string or two per entry.
    qsizetype bytesAt = 0, bytesSize = 0;
    qsizetype textAt = 0, textSize = 0;
    bool validName = true; // the bytes are UTF-8
    bool typeIsDir = false;
    int queryError = 0; // errno of a failed attribute query
    int attributes = 0;
    qint64 size = 0;
    timespec modified{};
};

struct Listing {
    int error = 0; // errno when the directory could not be read at all
    std::vector<Entry> entries;
    std::vector<char> bytes;          // the names' bytes, each ended by its NUL
    std::unique_ptr<char16_t[]> text; // the names decoded, one after the other
    timespec changed{};               // the directory's change time before its names were read
    bool settled = false;

    QStringView name(const Entry& e) const { return QStringView(text.get() + e.textAt, e.textSize); }
    QByteArray nativeName(const Entry& e) const { return QByteArray(bytes.data() + e.bytesAt, e.bytesSize); }
};

// A change time this much older than the clock cannot be repeated by a later
// change, however coarse the file system's timestamps are.
constexpr qint64 kSettledNs = 100'000'000;

qint64 nanoseconds(const timespec& t)
{
    return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

// Decodes every name into the listing's text, as QString::fromUtf8 would
// decode it alone (a stateless decoder: no name's tail runs into the next).
void decodeNames(Listing& out)
{
    // No name decodes to more UTF-16 units than it has bytes.
    // Not filled: every unit is written before it is read.
    out.text.reset(new char16_t[out.bytes.size()]);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QChar* const begin = reinterpret_cast<QChar*>(out.text.get());
    QChar* end = begin;
    for (Entry& e : out.entries) {
        e.textAt = end - begin;
        end = decoder.appendToBuffer(end, QByteArrayView(out.bytes.data() + e.bytesAt, e.bytesSize));
        e.textSize = (end - begin) - e.textAt;
        // Undecodable bytes always come out as U+FFFD; only then is the check needed.
        const QStringView name = out.name(e);
        e.validName = !name.contains(QChar(QChar::ReplacementCharacter)) ||
                      name.toUtf8() == QByteArrayView(out.bytes.data() + e.bytesAt, e.bytesSize);
    }
}

// Queries the entries [begin, end) of the listing relative to the open directory `fd`.
void queryEntries(Listing& listing, size_t begin, size_t end, int fd, const QByteArray& nativePrefix)
{
    for (size_t i = begin; i < end; ++i) {
        Entry& e = listing.entries[i];
        const QByteArray name = QByteArray::fromRawData(listing.bytes.data() + e.bytesAt, e.bytesSize);
        errno = 0;
        if (const auto info = platform::entryInfoNative(name, fd)) {
            e.attributes = platform::attributesAt(fd, nativePrefix, name, *info);
            e.typeIsDir = info->isDir;
            e.size = info->size;
            e.modified = info->modified;
        } else {
            e.queryError = errno ? errno : ENOENT;
        }
    }
}

// A large directory's entries are queried by a few threads at once: each query
// is one system call that waits on the kernel, and they do not depend on each
// other. Small directories are not worth a thread.
constexpr size_t kEntriesPerThread = 4096;
constexpr unsigned kMaxQueryThreads = 4;

void queryAll(Listing& listing, int fd, const QByteArray& nativePrefix)
{
    const size_t n = listing.entries.size();
    size_t parts = std::min<size_t>(n / kEntriesPerThread + 1, kMaxQueryThreads);
    if (parts > 1) // the count of cores is itself a query: asked only when it matters
        parts = std::min<size_t>(parts, std::max(1u, std::thread::hardware_concurrency()));
    std::vector<std::thread> helpers;
    const size_t step = (n + parts - 1) / parts;
    for (size_t p = 1; p < parts; ++p) {
        const size_t begin = std::min(n, p * step), end = std::min(n, begin + step);
        try {
            helpers.emplace_back([&, begin, end] { queryEntries(listing, begin, end, fd, nativePrefix); });
        } catch (const std::system_error&) {
            queryEntries(listing, begin, end, fd, nativePrefix); // no thread to be had
        }
    }
    // The names are decoded meanwhile: the helpers only read their bytes.
    decodeNames(listing);
    queryEntries(listing, 0, std::min(n, step), fd, nativePrefix);
    for (std::thread& t : helpers)
        t.join();
}

// Every entry of one directory with its attributes, in case-insensitive name
// order (exact order between names that differ only in case), so the lists
// come out the same on every file system.
Listing listDirectory(const QByteArray& nativePrefix)
{
    Listing out;
    DIR* dir = ::opendir(nativePrefix.constData());
    if (!dir) {
        // A directory that does not exist holds nothing to list.
        out.error = (errno == ENOENT || errno == ENOTDIR) ? 0 : errno;
        return out;
    }
    const int fd = ::dirfd(dir);
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    struct statx self {};
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_CTIME | STATX_SIZE, &self) == 0) {
        out.changed = {time_t(self.stx_ctime.tv_sec), long(self.stx_ctime.tv_nsec)};
        out.settled = nanoseconds(out.changed) + kSettledNs < nanoseconds(now);
        // Room for about as many entries as the directory's size holds names, within the list's limit;
        // the names' bytes take less room than the directory's own records of them.
        const size_t expected = size_t(std::clamp<quint64>(self.stx_size / 24, 16, kListLimit + 1));
        out.entries.reserve(expected);
        out.bytes.reserve(size_t(std::clamp<quint64>(self.stx_size, 256, quint64(kListLimit + 1) * 256)));
    }
    errno = 0;
    while (const dirent* d = ::readdir(dir)) {
        const qsizetype n = qsizetype(std::strlen(d->d_name));
        if ((n == 1 && d->d_name[0] == '.') || (n == 2 && d->d_name[0] == '.' && d->d_name[1] == '.'))
            continue;
        Entry e;
        e.bytesAt = qsizetype(out.bytes.size());
        e.bytesSize = n;
        e.typeIsDir = d->d_type == DT_DIR;
        out.bytes.insert(out.bytes.end(), d->d_name, d->d_name + n + 1);
        out.entries.push_back(e);
        errno = 0;
    }
    if (errno != 0)
        out.error = errno;
    // Each entry is queried once, by its bare name relative to the open directory.
    queryAll(out, fd, nativePrefix);
    ::closedir(dir);
    // The sort keys are needed for the sort alone.
    platform::FoldedKeys keys;
    keys.reserve(out.entries.size(), out.bytes.size());
    for (const Entry& e : out.entries)
        keys.add(out.name(e));
    std::vector<quint32> order(out.entries.size());
    std::iota(order.begin(), order.end(), quint32(0));
    std::sort(order.begin(), order.end(), [&](quint32 a, quint32 b) {
        const int c = keys[a].compare(keys[b]);
        return c != 0 ? c < 0 : out.name(out.entries[a]) < out.name(out.entries[b]);
    });
    std::vector<Entry> sorted;
    sorted.reserve(order.size());
    for (const quint32 i : order)
        sorted.push_back(out.entries[i]);
    out.entries = std::move(sorted);
    return out;
}

// A directory to walk: its listed path, its bytes on disk, and whether the
// listed path can be written back to those bytes.
struct Folder {
    QString path;
    QByteArray native;
    bool undecodable = false;
    ReadEntryDetails details; // as found in the directory above
};

// ------------------------------------------------------------ reading ahead

// A walk of many small directories waits on the kernel for each of them in
// turn; the directories next on the walk's stack are listed meanwhile on
// worker threads. A listing is a snapshot either way: taken a moment earlier,
// it is taken the same way, and the walk still visits, admits and counts its
// entries in order on its own thread.
class ListingsAhead {
public:
    ~ListingsAhead()
    {
        for (auto& [prefix, listing] : ahead_)
            listing.wait(); // nothing outlives the read
    }
    void ask(const QByteArray& prefix)
    {
        if (ahead_.size() >= kDepth || ahead_.count(prefix))
            return;
        auto promise = std::make_shared<std::promise<Listing>>();
        ahead_.emplace(prefix, promise->get_future());
        QThreadPool::globalInstance()->start([promise, prefix] {
            try {
                promise->set_value(listDirectory(prefix));
            } catch (...) {
                promise->set_exception(std::current_exception());
            }
        });
    }
    // The listing of `prefix` when it was asked for; otherwise it is read here.
    Listing take(const QByteArray& prefix)
    {
        const auto it = ahead_.find(prefix);
        if (it == ahead_.end())
            return listDirectory(prefix);
        std::future<Listing> listing = std::move(it->second);
        ahead_.erase(it);
        return listing.get();
    }
    static constexpr size_t kDepth = 8;

private:
    std::map<QByteArray, std::future<Listing>> ahead_;
};

QByteArray listingPrefix(const QByteArray& native)
{
    return native.endsWith('/') ? native : native + '/';
}

// ------------------------------------------------------------ the read

enum class Step { Go, Stop };

class Reader {
public:
    Reader(FileListHost& host, const ListTicks& ticks)
        : h_(host), s_(*host.files), o_(*host.options), t_(ticks), p_(ticks.path)
    {
    }
    void run();

private:
    void prepare();
    Step readFolder(const Folder& folder, std::vector<Folder>* subfolders, bool yieldBetween);
    Step readFiles(const Folder& folder, const Listing& listing);
    Step readDirs(const Folder& folder, const Listing& listing, std::vector<Folder>* found);
    Step admitted(const Folder& folder, const Listing& listing, const Entry& e, bool* ok);
    Step count(int& counter);
    QString pathOf(const Folder& folder, const Listing& listing, const Entry& e);
    Folder folderOf(const Folder& folder, const Listing& listing, const Entry& e);
    ReadEntryDetails detailsOf(const Entry& e) const;
    Step escapeTest();
    void yieldThrottled();
    Step failure(bool cancelled);
    bool folderIsThere(const Folder& top);
    void clear();
    void succeed();

    FileListHost& h_;
    FileListState& s_;
    const FileListOptions& o_;
    const ListTicks t_;
    const QString p_;
    int mask_ = 0;
    QString filePattern_, dirPattern_;
    QStringList files_, dirs_;
    ReadDetails details_;
    QElapsedTimer sinceYield_;
    int fileCount_ = 0, dirCount_ = 0;
    ListingsAhead ahead_;
    QString failureBefore_; // what the read before this one failed on
};

void Reader::prepare()
{
    platform::ListView* lw = h_.lwDirectory;
    lw->setView(t_.thumbnails == 0 ? 3 : 0);
    lw->setListFont(QApplication::font());
    lw->setLabelEdit(false);
    lw->clear();
    s_.listedDirectory.clear();
    failureBefore_ = s_.readFailure;
    s_.readFailure.clear();
    h_.ui->setMousePointer(11);
    h_.cmdExecute->setEnabled(false);
    yieldToEvents();
    h_.statusBar->setPanelText(kMain, QStringLiteral("Reading Directory Structure..."));
    h_.statusBar->setPanelText(kSelected, QStringLiteral("Press escape to cancel..."));
    yieldToEvents();
    s_.thumbnailsShownDir = 0;
    if (*h_.executeBusy == 0 && h_.window)
        platform::disableWindow(h_.window);
    h_.treeView->clear();
    mask_ = (o_.processHidden == 1 ? Hidden : 0) | (o_.processSystem == 1 ? System : 0);
    s_.lstDirs[0].clear();
    s_.lstFiles[0].clear();
    s_.undecodable.clear();
    s_.readDetails.reset();
    yieldToEvents();
    const QString& pattern = t_.pattern;
    filePattern_ = o_.usePatternForFiles == 1 ? pattern : QString();
    dirPattern_ = o_.usePatternForDirs == 1 ? pattern : QString();
}

void Reader::run()
{
    prepare();
    // Entries are the path text followed by their name, so the text needs its separator.
    Folder top{p_.endsWith(QLatin1Char('/')) ? p_.chopped(1) : p_, {}, false, {}};
    top.native = QFile::encodeName(top.path);
    if (!folderIsThere(top))
        return;
    const bool sub = t_.sub == 1;
    std::vector<Folder> found;
    if (readFolder(top, &found, !sub) == Step::Stop)
        return;
    if (sub) {
        yieldToEvents();
        // Depth first, each directory's subdirectories in name order: the
        // order in which a sorted directory list visits them.
        std::vector<Folder> stack(found.rbegin(), found.rend());
        while (!stack.empty()) {
            Folder d = std::move(stack.back());
            stack.pop_back();
            // The next directories of the walk, the top of the stack, are listed while this one is.
            for (auto it = stack.rbegin(); it != stack.rend() && size_t(it - stack.rbegin()) < ListingsAhead::kDepth;
                 ++it)
                ahead_.ask(listingPrefix(it->native));
            dirs_.push_back(d.path);
            details_.dirDetails.push_back(d.details);
            std::vector<Folder> below;
            if (readFolder(d, &below, true) == Step::Stop)
                return;
            stack.insert(stack.end(), std::make_move_iterator(below.rbegin()), std::make_move_iterator(below.rend()));
        }
        yieldToEvents();
    } else {
        for (const Folder& d : found) {
            dirs_.push_back(d.path);
            details_.dirDetails.push_back(d.details);
        }
    }
    succeed();
}

Step Reader::readFolder(const Folder& folder, std::vector<Folder>* subfolders, bool yieldBetween)
{
    const QByteArray prefix = listingPrefix(folder.native);
    const Listing listing = ahead_.take(prefix);
    details_.folders.push_back(ReadFolderStamp{prefix, listing.changed, listing.settled});
    // A part of the tree that cannot be read is never left out silently.
    if (listing.error != 0)
        h_.logs->logError(platform::failureFromErrno(listing.error).errorText() +
                          QStringLiteral("readDirectory: this folder could not be read (") +
                          qt_error_string(listing.error) + QStringLiteral("), its entries are not listed: ") +
                          folder.path);
    if (readFiles(folder, listing) == Step::Stop)
        return Step::Stop;
    if (yieldBetween)
        yieldThrottled();
    return readDirs(folder, listing, subfolders);
}

// Between directories the events are served at most every few milliseconds: a
// walk of a thousand small directories would otherwise spend much of its time there.
void Reader::yieldThrottled()
{
    if (sinceYield_.isValid() && sinceYield_.elapsed() < kYieldIntervalMs)
        return;
    yieldToEvents();
    sinceYield_.start();
}

Step Reader::escapeTest()
{
    return h_.ui->pollEscape() ? failure(true) : Step::Go;
}

// Hidden and system entries need their setting; read-only ones are left out
// while write-protected entries are not processed.
Step Reader::admitted(const Folder& folder, const Listing& listing, const Entry& e, bool* ok)
{
    *ok = false;
    if (e.queryError == ENOENT)
        return Step::Go; // gone since the directory was read
    if (e.queryError != 0) {
        h_.logs->logError(platform::failureFromErrno(e.queryError).errorText() +
                          QStringLiteral("readDirectory: this entry could not be looked at (") +
                          qt_error_string(e.queryError) + QStringLiteral(") and is not listed: ") +
                          folder.path % QLatin1Char('/') % listing.name(e));
        return failure(false); // answered Yes: the entry is dropped
    }
    *ok = (e.attributes & (Hidden | System) & ~mask_) == 0 &&
          !(o_.processWriteProtected == 0 && (e.attributes & ReadOnly));
    return Step::Go;
}

Step Reader::readFiles(const Folder& folder, const Listing& listing)
{
    if (listing.error != 0 && failure(false) == Step::Stop)
        return Step::Stop;
    for (const Entry& e : listing.entries) {
        if (e.typeIsDir || !platform::matchesPattern(listing.name(e), filePattern_))
            continue;
        bool ok = false;
        if (admitted(folder, listing, e, &ok) == Step::Stop)
            return Step::Stop;
        if (ok) {
            if (count(fileCount_) == Step::Stop)
                return Step::Stop;
            files_.push_back(pathOf(folder, listing, e));
            details_.fileDetails.push_back(detailsOf(e));
        }
        if (escapeTest() == Step::Stop)
            return Step::Stop;
    }
    return Step::Go;
}

Step Reader::readDirs(const Folder& folder, const Listing& listing, std::vector<Folder>* found)
{
    if (listing.error != 0 && failure(false) == Step::Stop)
        return Step::Stop;
    for (const Entry& e : listing.entries) {
        if (!e.typeIsDir || !platform::matchesPattern(listing.name(e), dirPattern_))
            continue;
        bool ok = false;
        if (admitted(folder, listing, e, &ok) == Step::Stop)
            return Step::Stop;
        if (ok) {
            // Listed in visiting order by the walk; counted here, when found.
            if (count(dirCount_) == Step::Stop)
                return Step::Stop;
            found->push_back(folderOf(folder, listing, e));
        }
        if (escapeTest() == Step::Stop)
            return Step::Stop;
    }
    return Step::Go;
}

// A full list makes the add fail, which the failure handling reports as the limit.
Step Reader::count(int& counter)
{
    if (counter >= kListLimit)
        return failure(false);
    ++counter;
    return Step::Go;
}

// The listed path of an entry; one whose bytes cannot be written back from it
// is recorded with its bytes (and, for its own name, one error-log line).
QString Reader::pathOf(const Folder& folder, const Listing& listing, const Entry& e)
{
    QString path = folder.path % QLatin1Char('/') % listing.name(e);
    if (folder.undecodable || !e.validName) {
        s_.undecodable.insert(path, folder.native + '/' + listing.nativeName(e));
        if (!e.validName && s_.undecodableReported.contains(path)) {
            // Its line is in the error log already; a run that meets it still
            // ends with the note that errors were logged.
            h_.logs->errorLogged = -1;
        } else if (!e.validName) {
            s_.undecodableReported.insert(path);
            h_.logs->logError(platform::makeFailure(platform::failures::PathFileAccessError).errorText() +
                              QStringLiteral("readDirectory: name is not valid UTF-8, listed but never renamed: ") +
                              platform::argumentText(folder.native + '/' + listing.nativeName(e)));
        }
    }
    return path;
}

ReadEntryDetails Reader::detailsOf(const Entry& e) const
{
    return ReadEntryDetails{e.size, e.modified, e.attributes, int(details_.folders.size()) - 1};
}

Folder Reader::folderOf(const Folder& folder, const Listing& listing, const Entry& e)
{
    QString path = pathOf(folder, listing, e);
    return Folder{std::move(path), folder.native + '/' + listing.nativeName(e), folder.undecodable || !e.validName,
                  detailsOf(e)};
}

Step Reader::failure(bool cancelled)
{
    if (fileCount_ >= kListLimit || dirCount_ >= kListLimit) {
        h_.ui->message(
            h_.window, QStringLiteral("Error!"),
            QStringLiteral(
                "Error: Too much files!\n\nVexor Renamer can only handle 32,767 files and 32,767 directories at once.\n"
                "Please limit number of files by selecting a more specific path."),
            QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok);
        s_.readFailure = QStringLiteral("Error: too much files!");
    } else if (cancelled) {
        s_.readFailure = QStringLiteral("User Cancelled!");
    } else {
        const auto answer = h_.ui->message(
            h_.window, QCoreApplication::applicationName(),
            QStringLiteral("An error occured when reading the directory structure! Do you want to try to continue?"),
            QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        if (answer == QMessageBox::Yes)
            return Step::Go;
        s_.readFailure = QStringLiteral("Error reading directory structure!");
    }
    h_.statusBar->setPanelText(kSelected, s_.readFailure);
    clear();
    return Step::Stop;
}

// A working folder that is gone (renamed or removed since it was chosen) is
// the read's failure, not an empty folder: one error-log line, however often
// it is read again.
bool Reader::folderIsThere(const Folder& top)
{
    struct stat st {};
    // Any other failure to reach it is the listing's, with its question.
    if (::stat(listingPrefix(top.native).constData(), &st) == 0 || (errno != ENOENT && errno != ENOTDIR))
        return true;
    const platform::Failure f = platform::makeFailure(platform::failures::PathNotFound);
    const QString folder = top.path + QLatin1Char('/');
    s_.readFailure = folder + QStringLiteral(" no longer exists. ") + f.errorText().trimmed();
    if (s_.readFailure != failureBefore_)
        h_.logs->logError(f.errorText() + QStringLiteral("readDirectory: ") + folder);
    h_.statusBar->setPanelText(kSelected, QStringLiteral("Error reading directory structure!"));
    clear();
    return false;
}

void Reader::clear()
{
    dropDirectoryListing(h_);
}

void Reader::succeed()
{
    yieldToEvents();
    s_.lstFiles[0] = std::move(files_);
    s_.lstDirs[0] = std::move(dirs_);
    details_.files = s_.lstFiles[0];
    details_.dirs = s_.lstDirs[0];
    s_.readDetails = std::make_shared<const ReadDetails>(std::move(details_));
    s_.listedDirectory = p_;
    if (h_.pathListed)
        h_.pathListed(p_);
    s_.previousPath = p_;
    if (*h_.executeBusy == 0 && h_.window)
        platform::enableWindow(h_.window);
    h_.ui->setMousePointer(0);
    h_.statusBar->setPanelText(kPreview, QString());
    h_.statusBar->setPanelText(kSelected, QString());
}

// ------------------------------------------------------------ hint rows

QFont hintFont()
{
    QFont f = QApplication::font();
    f.setPointSize(10);
    f.setBold(true);
    f.setItalic(true);
    return f;
}

void showHintRow(FileListHost& h, const QString& text)
{
    platform::ListView* lw = h.lwDirectory;
    lw->setView(1);
    lw->setHintFont(hintFont());
    lw->setLabelEdit(false);
    lw->clear();
    h.treeView->clear();
    platform::ListRow row;
    row.cells[0] = text;
    std::vector<platform::ListRow> rows;
    rows.push_back(std::move(row));
    lw->setRows(std::move(rows));
}

void emptyLists(FileListState& s)
{
    s.lstDirs[0].clear();
    s.lstFiles[0].clear();
    s.undecodable.clear();
    s.readDetails.reset();
}

void runGate(FileListHost& h)
{
    if (h.updateExecuteButton)
        h.updateExecuteButton();
}

void untickThumbnails(FileListHost& h)
{
    if (h.untickThumbnails)
        h.untickThumbnails();
}

void showNotice(FileListHost& h)
{
    untickThumbnails(h);
    if (h.pathRefused)
        h.pathRefused();
    h.ui->setMousePointer(0);
    emptyLists(*h.files);
    runGate(h);
    showHintRow(h, QString::fromLatin1(kHiddenFolderNotice));
    runGate(h);
}

void showRequest(FileListHost& h)
{
    untickThumbnails(h);
    emptyLists(*h.files);
    showHintRow(h, QString::fromLatin1(kChooseDirectoryHint));
    h.lwDirectory->setSelected(0, false);
    runGate(h);
}

} // namespace

void readDirectory(FileListHost& host)
{
    if (*host.mainWindowReady == 0)
        return;
    // An Escape pressed while the window was idle is not meant for this read.
    host.ui->clearEscape();
    stopPreview(*host.preview);
    FileListState& s = *host.files;
    const ListTicks ticks = host.readTicks();
    const QString& p = ticks.path;
    const bool resetIcons = host.options->cacheIcons == 1 ? s.listedDirectory.isEmpty()
                                                          : (p != s.listedDirectory || s.listedDirectory.isEmpty());
    if (resetIcons)
        resetSysIcons(host);
    host.statusBar->setPanelText(kPreview, QString());
    host.statusBar->setPanelText(kSelected, QString());
    if (host.options->hideSystemFolders == 1 && isProtectedFolder(p, s.systemFolders)) {
        showNotice(host);
        s.readFailure = QString::fromLatin1(kHiddenFolderNotice);
        return;
    }
    if (p.isEmpty()) {
        showRequest(host);
        s.readFailure.clear();
        return;
    }
    Reader(host, ticks).run();
}

void endListWork(FileListHost& host)
{
    if (*host.executeBusy == 0) {
        if (host.window)
            platform::enableWindow(host.window);
        if (host.updateExecuteButton)
            host.updateExecuteButton();
    }
    host.ui->setMousePointer(0);
}

void dropDirectoryListing(FileListHost& host)
{
    FileListState& s = *host.files;
    s.lstDirs[0].clear();
    s.lstFiles[0].clear();
    s.undecodable.clear();
    s.readDetails.reset();
    host.treeView->clear();
    endListWork(host);
}
