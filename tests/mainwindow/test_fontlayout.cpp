// Every window at the usual desktop font sizes: no caption is cut, no two
// neighbouring controls overlap and a restored window stays on the screen.
#include "execute/frmexecute.h"
#include "mainwindow/frmabout.h"
#include "mainwindow/frmgetposition.h"
#include "mainwindow/frmmain.h"
#include "mainwindow_fixture.h"
#include "platform/controls.h"
#include "platform/twips.h"
#include "settings/frmsettings.h"
#include "test_support.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QStyleOptionButton>
#include <QTest>
#include <QTextDocumentFragment>
#include <QToolButton>

#include <optional>

namespace {

QString withoutMnemonic(QString text)
{
    text.replace(QLatin1String("&&"), QLatin1String("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

int textWidth(const QWidget* w, const QString& text)
{
    int widest = 0;
    for (const QString& line : withoutMnemonic(text).split(QLatin1Char('\n')))
        widest = std::max(widest, w->fontMetrics().horizontalAdvance(line));
    return widest;
}

// Whether `w` is the contents of a scroll area, which the user scrolls to
// see whole.
bool scrolledContents(const QWidget* w)
{
    const QWidget* viewport = w->parentWidget();
    const auto* area = viewport ? qobject_cast<const QScrollArea*>(viewport->parentWidget()) : nullptr;
    return area && area->widget() == w;
}

// The part of `w` that is on the screen: its rectangle cut by every parent's,
// up to contents that scroll.
QRect shownRect(const QWidget* w)
{
    QRect shown = w->rect();
    QPoint offset;
    for (const QWidget* c = w; c->parentWidget() && !c->isWindow() && !scrolledContents(c); c = c->parentWidget()) {
        offset += c->pos();
        shown &= c->parentWidget()->rect().translated(-offset);
    }
    return shown;
}

// How wide the caption's room is, and how wide its text; empty when `w` shows no caption.
struct Caption {
    int room = 0;
    int needed = 0;
};

std::optional<Caption> captionOf(const QWidget* w)
{
    const QRect shown = shownRect(w);
    if (const auto* l = qobject_cast<const QLabel*>(w)) {
        if (l->text().isEmpty())
            return std::nullopt;
        if (l->wordWrap())
            return Caption{shown.height(), l->heightForWidth(l->contentsRect().width())};
        const QString text = l->textFormat() == Qt::RichText || Qt::mightBeRichText(l->text())
                                 ? QTextDocumentFragment::fromHtml(l->text()).toPlainText()
                                 : l->text();
        const int frame = l->width() - l->contentsRect().width();
        return Caption{shown.width() - frame, textWidth(l, text) + 2 * l->margin()};
    }
    if (const auto* g = qobject_cast<const QGroupBox*>(w)) {
        if (g->title().trimmed().isEmpty())
            return std::nullopt;
        return Caption{shown.width(), textWidth(g, g->title()) + 8};
    }
    const auto* b = qobject_cast<const QAbstractButton*>(w);
    if (!b || b->text().isEmpty())
        return std::nullopt;
    QStyleOptionButton opt;
    opt.initFrom(b);
    opt.rect = QRect(QPoint(), QSize(shown.right() + 1, b->height()));
    opt.text = b->text();
    opt.icon = b->icon();
    opt.iconSize = b->iconSize();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox*>(b))
        contents = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton*>(b))
        contents = QStyle::SE_RadioButtonContents;
    else if (qobject_cast<const QToolButton*>(b))
        // Tabs and picture buttons: the size they ask for is the room their caption needs.
        return Caption{shown.width(), b->sizeHint().width()};
    const QRect room = b->style()->subElementRect(contents, &opt, b);
    const int icon = b->icon().isNull() ? 0 : b->iconSize().width() + 4;
    return Caption{room.width() - std::max(shown.left(), 0), textWidth(b, b->text()) + icon};
}

bool walked(const QWidget* w)
{
    return qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w) ||
           qobject_cast<const QGroupBox*>(w);
}

// What a caption must not lie on: another caption or a box the user types or picks in.
// Frames, pictures and the about box's click area are what controls lie on.
bool solid(const QWidget* w)
{
    if (const auto* l = qobject_cast<const QLabel*>(w))
        return !l->text().isEmpty();
    return walked(w) || qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QAbstractItemView*>(w) ||
           qobject_cast<const QProgressBar*>(w);
}

std::string nameOf(const QWidget* w)
{
    const QString name = w->objectName().isEmpty()
                             ? QString::fromLatin1(w->metaObject()->className()) + QStringLiteral(" \"") +
                                   w->property("text").toString() + QLatin1Char('"')
                             : w->objectName();
    return name.toStdString();
}

// Fails for each visible caption of `root` that is cut, and for each caption
// control that overlaps a visible sibling.
void expectCaptionsFit(QWidget* root)
{
    const QList<QWidget*> all = root->findChildren<QWidget*>();
    for (QWidget* w : all) {
        // A control placed outside its window on purpose (a Cancel key's button) shows nothing.
        if (!w->isVisible() || !walked(w) || w->parentWidget()->inherits("QComboBox") || shownRect(w).isEmpty())
            continue;
        if (const std::optional<Caption> c = captionOf(w)) {
            EXPECT_LE(c->needed, c->room) << nameOf(w) << " in " << nameOf(w->parentWidget());
        }
        for (QWidget* other : w->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (other == w || !other->isVisible() || other->isWindow() || !solid(w) || !solid(other) ||
                shownRect(other).isEmpty())
                continue;
            if (walked(other) && other < w) // each pair once
                continue;
            EXPECT_FALSE(w->geometry().intersects(other->geometry()))
                << nameOf(w) << " overlaps " << nameOf(other) << " in " << nameOf(w->parentWidget());
        }
    }
}

// The frame of `window` lies on the screen's available area, except along an
// axis on which even the window's minimum is longer: there it has that
// minimum and starts at the area's edge.
void expectFrameOnArea(const QWidget* window, const QRect& area)
{
    const QRect outer = window->frameGeometry();
    const QSize smallest = window->minimumSize() + (outer.size() - window->size());
    if (smallest.width() <= area.width()) {
        EXPECT_GE(outer.left(), area.left());
        EXPECT_LE(outer.right(), area.right());
    } else {
        EXPECT_EQ(outer.left(), area.left());
        EXPECT_EQ(outer.width(), smallest.width());
    }
    if (smallest.height() <= area.height()) {
        EXPECT_GE(outer.top(), area.top());
        EXPECT_LE(outer.bottom(), area.bottom());
    } else {
        EXPECT_EQ(outer.top(), area.top());
        EXPECT_EQ(outer.height(), smallest.height());
    }
}

// The application font for one test, restored after it.
class FontScope {
public:
    explicit FontScope(int points) : old_(QApplication::font())
    {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPointSize(points);
        QApplication::setFont(f);
    }
    ~FontScope() { QApplication::setFont(old_); }

private:
    QFont old_;
};

} // namespace

class FontLayoutTest : public MainWindowFixture<>, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override
    {
        MainWindowFixture<>::SetUp();
        font_ = std::make_unique<FontScope>(GetParam());
    }
    void TearDown() override
    {
        MainWindowFixture<>::TearDown();
        font_.reset();
    }
    std::unique_ptr<FontScope> font_;
};

TEST_P(FontLayoutTest, MainWindowInEveryFileModeAndRenameMode)
{
    for (const bool smallest : {false, true}) {
        SCOPED_TRACE(smallest ? "smallest size" : "first size");
        start();
        if (smallest) {
            w->resize(100, 100);
            QCoreApplication::processEvents();
        }
        auto* fileModes = ctl<platform::TabStrip>("TabStripFilemode");
        auto* renameModes = ctl<platform::TabStrip>("TabStrip");
        for (int fileMode : {0, 1}) {
            SCOPED_TRACE(fileMode == 0 ? "Directory" : "Free Select");
            QTest::mouseClick(fileModes->tabButton(fileMode), Qt::LeftButton);
            for (int mode = 0; mode < renameModes->count(); ++mode) {
                QTest::mouseClick(renameModes->tabButton(mode), Qt::LeftButton);
                QCoreApplication::processEvents();
                SCOPED_TRACE(renameModes->tabButton(mode)->text().toStdString());
                expectCaptionsFit(w->centralWidget());
            }
        }
        dropMainWindow();
    }
}

// The arrows beside the format boxes open lists of at least twenty rows whose
// captions show whole.
TEST_P(FontLayoutTest, TagListsOpenWideAndTall)
{
    start();
    QTest::mouseClick(ctl<platform::TabStrip>("TabStrip")->tabButton(7), Qt::LeftButton); // Format
    for (const char* name : {"cmbFormat", "cmbFormatParts"}) {
        SCOPED_TRACE(name);
        auto* combo = ctl<QComboBox>(name);
        QTest::mouseClick(combo, Qt::LeftButton);
        QAbstractItemView* view = combo->view();
        ASSERT_TRUE(QTest::qWaitFor([&] { return view->window()->isVisible(); }, 1000));
        int shownRows = 0;
        for (int i = 0; i < combo->count(); ++i) {
            const QRect r = view->visualRect(combo->model()->index(i, 0));
            if (view->viewport()->rect().contains(r))
                ++shownRows;
            EXPECT_LE(view->fontMetrics().horizontalAdvance(combo->itemText(i)), r.width() - 4)
                << combo->itemText(i).toStdString();
        }
        EXPECT_GE(shownRows, std::min(20, combo->count()));
        combo->hidePopup();
    }
}

TEST_P(FontLayoutTest, OptionsWindowOnEveryTab)
{
    start();
    bool ran = false;
    whenModal<FrmSettings>([&](FrmSettings* d) {
        ran = true;
        for (int tab = 0; tab < d->TabStrip->count(); ++tab) {
            QTest::mouseClick(d->TabStrip->tabButton(tab), Qt::LeftButton);
            QCoreApplication::processEvents();
            SCOPED_TRACE(d->TabStrip->tabButton(tab)->text().toStdString());
            expectCaptionsFit(d);
        }
        clickButton(d->cmdCancel);
    });
    clickButton(ctl<QPushButton>("cmdSettings"));
    EXPECT_TRUE(ran);
}

TEST_P(FontLayoutTest, LogWindowWithFiveDigitCounts)
{
    start();
    ExecuteHost h = w->executeHost();
    FrmExecute* log = openLogWindow(h);
    log->lblInfo_Files->setText(QStringLiteral("32767 Files Renamed."));
    log->lblInfo_Dirs->setText(QStringLiteral("32767 Directories Renamed."));
    log->lblInfo_Skipped->setText(QStringLiteral("32767 Warnings."));
    for (RunStage stage : {RunStage::Cancellable, RunStage::Finished}) {
        log->setStage(stage);
        QCoreApplication::processEvents();
        expectCaptionsFit(log);
    }
    unloadLogWindow(h);
}

TEST_P(FontLayoutTest, PickerInEveryMode)
{
    for (PickerMode mode : {PickerMode::Position, PickerMode::Selection, PickerMode::Text, PickerMode::PositionFromEnd,
                            PickerMode::SelectionFromEnd}) {
        SCOPED_TRACE(int(mode));
        PickerValues values;
        values.vaMode = mode;
        values.vaPosition = 12345;
        values.vaLength = 3;
        FrmGetPosition picker(values, {QStringLiteral("holiday photo 2024")}, 0);
        picker.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&picker));
        picker.lblCurrentPos->setText(readCaret(mode, 18, 0, 3).label);
        expectCaptionsFit(&picker);
        picker.reject();
    }
}

TEST_P(FontLayoutTest, AboutBox)
{
    FrmAbout about(ui, QStringLiteral("Vexor Renamer"), QStringLiteral("2.4.1"), 2000000000, 2000000000);
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    expectCaptionsFit(&about);
    about.reject();
}

// A stored window larger than the screen, as a larger desktop font makes one
// of a window that fitted, comes up with its frame inside the screen's
// available area, and so does the log window; a start that ends without a
// move or a resize stores the twips it read, whatever the font's scale.
TEST_P(FontLayoutTest, RestoredWindowsFitTheScreenAndKeepTheirStoredTwips)
{
    // 1300 x 900 and 1200 x 1000 pixels at the design's scale, a little way in from the corner.
    const std::pair<const char*, int> stored[] = {
        {"Main_Left", 450},    {"Main_Top", 300},    {"Main_Width", 19500},    {"Main_Height", 13500},
        {"Execute_Left", 600}, {"Execute_Top", 450}, {"Execute_Width", 18000}, {"Execute_Height", 15000},
    };
    const QString ini = root() + QStringLiteral("/config/Taborin/Taborin.ini");
    {
        QSettings s(ini, QSettings::IniFormat);
        for (const auto& [key, value] : stored)
            s.setValue(QStringLiteral("Vexor Renamer/") + QLatin1String(key), value);
    }
    start();
    const QRect area = w->screen()->availableGeometry();
    {
        SCOPED_TRACE("main window");
        expectFrameOnArea(w.get(), area);
    }
    ExecuteHost host = w->executeHost();
    FrmExecute* log = openLogWindow(host);
    QCoreApplication::processEvents();
    {
        SCOPED_TRACE("log window");
        expectFrameOnArea(log, area);
    }
    QTest::mouseClick(log->cmdClose, Qt::LeftButton);
    ASSERT_EQ(logWindow(host), nullptr);
    w->close();
    ASSERT_TRUE(w->exited());
    w.reset();
    QSettings s(ini, QSettings::IniFormat);
    for (const auto& [key, value] : stored)
        EXPECT_EQ(s.value(QStringLiteral("Vexor Renamer/") + QLatin1String(key)).toInt(), value) << key;
}

INSTANTIATE_TEST_SUITE_P(DejaVuSans, FontLayoutTest, ::testing::Values(9, 10, 11, 13),
                         [](const ::testing::TestParamInfo<int>& p) { return std::to_string(p.param) + "pt"; });
