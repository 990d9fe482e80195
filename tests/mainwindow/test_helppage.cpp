// The shipped help page: it names every tag the drop-down lists offer, every
// start-mode word and the places of the settings, logs and configuration
// files, and it runs no script.
#include "engine/renamemode.h"
#include "execute/frmexecute.h"
#include "filelist/readdirectory.h"
#include "mainwindow/taglists.h"
#include "mainwindow_fixture.h"
#include "platform/places.h"
#include "test_support.h"
#include "version.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <QTabBar>

namespace {

QString helpText()
{
    const QString path = platform::shippedFile("help.html");
    QFile f(path);
    if (path.isEmpty() || !f.open(QIODevice::ReadOnly))
        return QString();
    QString text = QString::fromUtf8(f.readAll());
    text.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&amp;", "&");
    return text;
}

QString tagOf(const char* item)
{
    const QString s = QString::fromLatin1(item);
    return s.mid(s.lastIndexOf('<'));
}

} // namespace

TEST(HelpPage, NamesEveryTagOfTheFourTagLists)
{
    const QString text = helpText();
    ASSERT_FALSE(text.isEmpty());
    QStringList tags;
    for (const char* item : kEnumFormatItems)
        tags << tagOf(item);
    for (const char* item : kMp3TagItems)
        tags << tagOf(item);
    for (const char* item : kFormatTagItems)
        tags << tagOf(item);
    for (int i = 1; i <= 9; ++i)
        tags << QString("<%%1>").arg(i);
    for (const QString& tag : tags)
        EXPECT_TRUE(text.contains("<code>" + tag + "</code>")) << tag.toStdString();
    // The Format table carries the captions of its drop-down list.
    for (const char* item : kFormatTagItems) {
        const QString s = QString::fromLatin1(item);
        EXPECT_TRUE(text.contains(s.left(s.lastIndexOf('<')).trimmed())) << s.toStdString();
    }
}

TEST(HelpPage, NamesTheCommandLineAndEveryStartModeWord)
{
    const QString text = helpText();
    for (const char* word : {"modereplace", "modebatchreplace", "modecase", "modeenum", "modenormalize", "modespace",
                             "modedate", "modeattrib", "modeadd", "modecrop", "modemp3", "modeformat", "modefiletype"})
        EXPECT_TRUE(text.contains(QString("<code>%1</code>").arg(word))) << word;
    for (const char* option : {"/p", "/e", "/x"})
        EXPECT_TRUE(text.contains(QString("<code>%1").arg(option))) << option;
}

TEST(HelpPage, SaysWhereSettingsLogsAndConfigurationFilesLive)
{
    const QString text = helpText();
    for (const char* place :
         {"~/.config/Taborin/Taborin.ini", "[Vexor%20Renamer]", "XDG_CONFIG_HOME", "~/.local/share/vexorren/",
          "VEXORREN_HOME", "log.txt", "errors.txt", "exceptions.txt", "replace.txt", "filetypes.txt", "codecs.txt",
          "waveformats.txt", "file-manager/actions/vexorren.desktop", "kio/servicemenus/vexorren.desktop",
          "nemo/actions/vexorren.nemo_action", "Thunar/uca.xml"})
        EXPECT_TRUE(text.contains(place)) << place;
    for (const char* topic : {"Directory", "Free Select", "Undo", "Rename!"})
        EXPECT_TRUE(text.contains(topic)) << topic;
}

TEST(HelpPage, IsPlainHtmlWithoutScripts)
{
    const QString text = helpText().toLower();
    EXPECT_TRUE(text.startsWith("<!doctype html>"));
    EXPECT_FALSE(text.contains("<script"));
    EXPECT_FALSE(text.contains("javascript:"));
    EXPECT_FALSE(text.contains(QRegularExpression("\\son[a-z]+\\s*=")));
    EXPECT_FALSE(text.contains("<iframe"));
    EXPECT_FALSE(text.contains("<object"));
}

// The page and the README give the entry limit the directory read enforces,
// and the page says where Hidden, System and Archive are kept.
TEST(HelpPage, NamesTheEntryLimitAndWhereTheDosAttributesLive)
{
    const QString limit = QLocale(QLocale::English).toString(kListLimit);
    QFile readme(QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../../README.md"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    const QString readmeText = QString::fromUtf8(readme.readAll()).simplified();
    const QString text = helpText().simplified();
    for (const QString& phrase : {limit + " files", limit + " directories"}) {
        EXPECT_TRUE(text.contains(phrase)) << phrase.toStdString();
        EXPECT_TRUE(readmeText.contains(phrase)) << phrase.toStdString();
    }
    EXPECT_TRUE(text.contains("<code>user.DOSATTRIB</code>"));
}

// The page carries the program's own version, written in by the build.
TEST(HelpPage, NamesTheProgramsVersion)
{
    const QString text = helpText();
    EXPECT_TRUE(text.contains(QString("<h1>Vexor Renamer %1</h1>").arg(kVersionText)));
    EXPECT_FALSE(text.contains('@'));
}

// The other way round: what the page names exists in the program. Every tag
// it shows is one the lists offer, every start word starts a mode.
TEST(HelpPage, EveryTagAndStartWordItNamesExists)
{
    const QString text = helpText();
    ASSERT_FALSE(text.isEmpty());
    QSet<QString> known;
    for (const char* item : kEnumFormatItems)
        known << tagOf(item);
    for (const char* item : kMp3TagItems)
        known << tagOf(item);
    for (const char* item : kFormatTagItems)
        known << tagOf(item);
    for (int i = 1; i <= 9; ++i)
        known << QString("<%%1>").arg(i);
    const QRegularExpression tag(QStringLiteral("<[A-Z0-9#%\\\\]+>"));
    int tags = 0;
    for (auto m = tag.globalMatch(text); m.hasNext(); ++tags) {
        const QString t = m.next().captured();
        EXPECT_TRUE(known.contains(t)) << "the page names an unknown tag " << t.toStdString();
    }
    EXPECT_GT(tags, 50);
    const QRegularExpression word(QStringLiteral("<code>(mode[a-z0-9]+)</code>"));
    for (auto m = word.globalMatch(text); m.hasNext();) {
        const QString w = m.next().captured(1);
        EXPECT_TRUE(startModeFromWord(w).has_value()) << "no start mode " << w.toStdString();
    }
}

namespace {

// What a user can read on the screen: captions, titles, tabs, headers, menu
// items and tool tips of every widget alive now, "&" accelerators removed.
void collectCaptions(QSet<QString>& out)
{
    auto add = [&out](QString s) {
        s.replace(QLatin1String("&&"), QLatin1String("\x01"));
        s.remove(QLatin1Char('&'));
        s.replace(QLatin1Char('\x01'), QLatin1Char('&'));
        s = s.simplified();
        if (s.isEmpty())
            return;
        out << s;
        if (s.endsWith(QLatin1Char(':')))
            out << s.chopped(1);
        // A menu item with its key ("All   (Ctrl+A)") is named without it.
        const int key = s.indexOf(QLatin1String(" ("));
        if (key > 0)
            out << s.left(key);
    };
    for (QWidget* wgt : QApplication::allWidgets()) {
        add(wgt->windowTitle());
        add(wgt->toolTip());
        if (auto* b = qobject_cast<QAbstractButton*>(wgt))
            add(b->text());
        if (auto* l = qobject_cast<QLabel*>(wgt))
            add(l->text());
        if (auto* g = qobject_cast<QGroupBox*>(wgt))
            add(g->title());
        if (auto* t = qobject_cast<QTabBar*>(wgt))
            for (int i = 0; i < t->count(); ++i)
                add(t->tabText(i));
        if (auto* h = qobject_cast<QHeaderView*>(wgt); h && h->model())
            for (int i = 0; i < h->count(); ++i)
                add(h->model()->headerData(i, h->orientation()).toString());
        for (QAction* a : wgt->actions())
            add(a->text());
    }
}

} // namespace

class HelpCaptions : public MainWindowFixture<> {};

// Every caption the page puts in bold is one the window, the options window,
// the log window or the Visual Assist window shows.
TEST_F(HelpCaptions, EveryBoldCaptionIsOnScreen)
{
    writeFile("a.txt");
    start({QStringLiteral("/p"), work()});
    QSet<QString> captions;
    collectCaptions(captions);
    whenModal<QDialog>([&](QDialog* d) {
        collectCaptions(captions);
        d->reject();
    });
    clickButton(ctl<QAbstractButton>("cmdSettings"));
    ExecuteHost host = w->executeHost();
    FrmExecute* log = openLogWindow(host);
    collectCaptions(captions);
    log->close();
    whenModal<QDialog>([&](QDialog* d) {
        collectCaptions(captions);
        d->reject();
    });
    clickButton(ctl<QAbstractButton>("cmdReplaceGetString"));

    QString text = helpText();
    const QRegularExpression bold(QStringLiteral("<b>([^<]+)</b>"));
    int named = 0;
    for (auto m = bold.globalMatch(text); m.hasNext(); ++named) {
        const QString caption = m.next().captured(1).simplified();
        EXPECT_TRUE(captions.contains(caption)) << "not on screen: " << caption.toStdString();
    }
    EXPECT_GT(named, 40);
}
