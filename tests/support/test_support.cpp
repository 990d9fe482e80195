#include "test_support.h"
#include "platform/twips.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QStyleOptionSlider>
#include <QTest>

#include <csignal>

QPoint indicatorPoint(const QCheckBox* cb)
{
    QStyleOptionButton opt;
    opt.initFrom(cb);
    opt.text = cb->text();
    return cb->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &opt, cb).center();
}

void clickButton(QAbstractButton* b)
{
    if (auto* c = qobject_cast<QCheckBox*>(b)) {
        QTest::mouseClick(c, Qt::LeftButton, {}, indicatorPoint(c));
    } else if (auto* r = qobject_cast<QRadioButton*>(b)) {
        // An option button wider than its caption takes clicks only on the caption.
        QStyleOptionButton opt;
        opt.initFrom(r);
        opt.text = r->text();
        QTest::mouseClick(r, Qt::LeftButton, {},
                          r->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &opt, r).center());
    } else
        QTest::mouseClick(b, Qt::LeftButton);
}

QRect onScreen(const QWidget* c)
{
    return QRect(c->mapToGlobal(QPoint(0, 0)), c->size());
}

bool inSight(const QWidget* c, const QScrollArea* area)
{
    const QRect shown = onScreen(c);
    return onScreen(area->viewport()).contains(shown) && c->window()->frameGeometry().contains(shown) &&
           c->screen()->availableGeometry().contains(shown);
}

namespace {

// Clicks `bar` as a user does to scroll it a page on (or back), or a line
// where no page is left.
void clickScrollBar(QScrollBar* bar, bool forward)
{
    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.subControls = QStyle::SC_All;
    opt.orientation = bar->orientation();
    if (bar->orientation() == Qt::Horizontal)
        opt.state |= QStyle::State_Horizontal;
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    opt.sliderPosition = bar->sliderPosition();
    opt.sliderValue = bar->value();
    opt.singleStep = bar->singleStep();
    opt.pageStep = bar->pageStep();
    opt.upsideDown = bar->invertedAppearance();
    const auto rectOf = [&](QStyle::SubControl sc) {
        return bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, sc, bar);
    };
    QRect r = rectOf(forward ? QStyle::SC_ScrollBarAddPage : QStyle::SC_ScrollBarSubPage);
    if (r.width() < 2 || r.height() < 2)
        r = rectOf(forward ? QStyle::SC_ScrollBarAddLine : QStyle::SC_ScrollBarSubLine);
    QTest::mouseClick(bar, Qt::LeftButton, {}, r.center());
}

} // namespace

bool scrollIntoSight(QWidget* c, QScrollArea* area)
{
    for (int click = 0; click < 200 && !inSight(c, area); ++click) {
        const QRect r(c->mapTo(area->viewport(), QPoint(0, 0)), c->size());
        const QRect view = area->viewport()->rect();
        QScrollBar* bar = nullptr;
        bool forward = true;
        if (r.bottom() > view.bottom() || r.top() < view.top()) {
            bar = area->verticalScrollBar();
            forward = r.bottom() > view.bottom();
        } else if (r.right() > view.right() || r.left() < view.left()) {
            bar = area->horizontalScrollBar();
            forward = r.right() > view.right();
        }
        if (!bar || !bar->isVisible())
            return false;
        const int before = bar->value();
        clickScrollBar(bar, forward);
        if (bar->value() == before)
            return false;
    }
    return inSight(c, area);
}

void TempEnv::SetUp()
{
    ASSERT_TRUE(dir_.isValid());
    savedConfig_ = qgetenv("XDG_CONFIG_HOME");
    savedData_ = qgetenv("XDG_DATA_HOME");
    savedHome_ = qgetenv("VEXORREN_HOME");
    savedConfigDirs_ = qgetenv("XDG_CONFIG_DIRS");
    qputenv("XDG_CONFIG_HOME", (root() + "/config").toLocal8Bit());
    // The system's defaults (Thunar's actions among them) never reach a test.
    qputenv("XDG_CONFIG_DIRS", systemConfig().toLocal8Bit());
    qputenv("XDG_DATA_HOME", (root() + "/data").toLocal8Bit());
    qputenv("VEXORREN_HOME", programFolder().toLocal8Bit());
    // QSettings caches the user-scope path: point it at the new folder.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, root() + "/config");
    QDir().mkpath(work());
    QDir().mkpath(programFolder());
}

QProcessEnvironment TempEnv::programEnvironment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", root() + "/config");
    env.insert("XDG_DATA_HOME", root() + "/data");
    env.insert("VEXORREN_HOME", programFolder());
    env.insert("HOME", root() + "/home");
    return env;
}

void TempEnv::TearDown()
{
    qputenv("XDG_CONFIG_HOME", savedConfig_);
    qputenv("XDG_DATA_HOME", savedData_);
    qputenv("VEXORREN_HOME", savedHome_);
    if (savedConfigDirs_.isNull())
        qunsetenv("XDG_CONFIG_DIRS");
    else
        qputenv("XDG_CONFIG_DIRS", savedConfigDirs_);
    // Make everything removable again (tests may leave read-only entries).
    QDirIterator it(dir_.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next();
        QFile::setPermissions(p, QFile::permissions(p) | QFileDevice::WriteOwner | QFileDevice::ReadOwner |
                                     QFileDevice::ExeOwner);
    }
}

QString TempEnv::writeFile(const QString& relative, const QByteArray& content)
{
    const QString path = work() + "/" + relative;
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(content);
    return path;
}

QString TempEnv::makeDir(const QString& relative)
{
    const QString path = work() + "/" + relative;
    QDir().mkpath(path);
    return path;
}

QMessageBox::StandardButton ScriptedUi::message(QWidget*, const QString& title, const QString& text,
                                                QMessageBox::Icon icon, QMessageBox::StandardButtons,
                                                QMessageBox::StandardButton def)
{
    asked.push_back({title, text, icon});
    if (answers.empty()) {
        if (failOnUnscripted)
            ADD_FAILURE() << "unscripted message box: " << text.toStdString();
        return def == QMessageBox::NoButton ? QMessageBox::Ok : def;
    }
    const auto a = answers.front();
    answers.pop_front();
    return a;
}

std::optional<QString> ScriptedUi::inputBox(QWidget*, const QString& title, const QString& prompt,
                                            const QString& defaultText)
{
    asked.push_back({title, prompt});
    if (inputs.empty()) {
        if (failOnUnscripted)
            ADD_FAILURE() << "unscripted input box: " << prompt.toStdString();
        return defaultText;
    }
    auto a = inputs.front();
    inputs.pop_front();
    return a;
}

QStringList ScriptedUi::openFiles(QWidget*, const QString& title, const QString& dir, const QString& filter)
{
    asked.push_back({title, QString()});
    openDirs << dir;
    openFilters << filter;
    if (openAnswers.empty())
        return {};
    auto a = openAnswers.front();
    openAnswers.pop_front();
    return a;
}

QString ScriptedUi::saveFile(QWidget*, const QString& title, const QString&, const QString&)
{
    asked.push_back({title, QString()});
    if (saveAnswers.empty())
        return {};
    auto a = saveAnswers.front();
    saveAnswers.pop_front();
    return a;
}

QString ScriptedUi::folder(QWidget*, const QString& title, const QString&)
{
    asked.push_back({title, QString()});
    if (folderAnswers.empty())
        return {};
    auto a = folderAnswers.front();
    folderAnswers.pop_front();
    return a;
}

QString readText(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

QStringList readLines(const QString& path)
{
    QString t = readText(path);
    if (t.endsWith('\n'))
        t.chop(1);
    if (t.isEmpty())
        return {};
    return t.split('\n');
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFileBytes(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    EXPECT_EQ(f.write(data), data.size()) << path.toStdString();
}

FileSizeLimit::FileSizeLimit(rlim_t bytes)
{
    // The signal a write past the limit raises would end the test.
    savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    EXPECT_EQ(::getrlimit(RLIMIT_FSIZE, &saved_), 0);
    struct rlimit limit = saved_;
    limit.rlim_cur = bytes;
    EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
}

FileSizeLimit::~FileSizeLimit()
{
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, savedHandler_);
}

QString deadXDisplay()
{
    QFile sockets(QStringLiteral("/proc/net/unix"));
    const QByteArray listening = sockets.open(QIODevice::ReadOnly) ? sockets.readAll() : QByteArray();
    for (int n = 97; n < 1000; ++n) {
        const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(n);
        if (QFileInfo::exists(socket) || QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
            continue;
        // "@/tmp/.X11-unix/X97" then an end of line, so X970 is not taken for X97.
        if (listening.contains(("@" + socket + "\n").toLatin1()))
            continue;
        return QStringLiteral(":%1").arg(n);
    }
    ADD_FAILURE() << "every X display from :97 to :999 is taken";
    return QStringLiteral(":999");
}

QByteArray mp3WithId3v1(const QByteArray& artist, const QByteArray& title)
{
    QByteArray frame(417, '\0');
    frame[0] = char(0xFF);
    frame[1] = char(0xFB);
    frame[2] = char(0x90);
    frame[3] = char(0x64);
    QByteArray tag(128, '\0');
    tag.replace(0, 3, "TAG");
    tag.replace(3, title.size(), title);
    tag.replace(33, artist.size(), artist);
    tag[127] = char(255);
    return frame.repeated(5) + tag;
}

ScaleScope::ScaleScope(double scale) : saved_(QApplication::font()), twipsPerPixel_(int(15 / scale))
{
    QFont font(QStringLiteral("DejaVu Sans"));
    for (int tenths = 40; tenths <= 600 && !found_; ++tenths) {
        font.setPointSizeF(tenths / 10.0);
        found_ = platform::twipsPerPixel(font) == twipsPerPixel_;
    }
    if (found_)
        QApplication::setFont(font);
}

ScaleScope::~ScaleScope()
{
    QApplication::setFont(saved_);
}
