// The settings section is written and read by our own code in the form
// QSettings writes and reads: each case here is checked against QSettings
// itself, as writer and as reader.
#include "platform/inisection.h"
#include "test_support.h"

#include <QSettings>

#include <random>

using platform::iniSectionText;
using platform::withIniSection;

namespace {

const QString ours = QStringLiteral("Vexor Renamer");

class IniSectionTest : public TempEnv {
protected:
    // QSettings keeps every file it read for the process and goes by size and
    // time to see a change, so each look uses a file of its own.
    QString freshPath() { return root() + QStringLiteral("/look%1.ini").arg(++looks_); }

    // Every key of the file as QSettings reads it, with its text (a list's
    // items joined by "|").
    QMap<QString, QString> readByQSettings(const QByteArray& file)
    {
        const QString path = freshPath();
        writeFileBytes(path, file);
        QSettings s(path, QSettings::IniFormat);
        QMap<QString, QString> all;
        for (const QString& key : s.allKeys()) {
            const QVariant v = s.value(key);
            all.insert(key, v.typeId() == QMetaType::QStringList ? "|" + v.toStringList().join('|') : v.toString());
        }
        return all;
    }

    // Our section as QSettings reads it from the file, each value as text (a
    // list's items joined by ", ", as a hand-edited value with commas is).
    QMap<QString, QString> sectionByQSettings(const QByteArray& file)
    {
        const QString path = freshPath();
        writeFileBytes(path, file);
        QSettings s(path, QSettings::IniFormat);
        QMap<QString, QString> values;
        for (const QString& key : s.allKeys()) {
            if (!key.startsWith(ours + "/"))
                continue;
            const QVariant v = s.value(key);
            if (!v.isValid())
                continue;
            values.insert(key.mid(ours.size() + 1),
                          v.typeId() == QMetaType::QStringList ? v.toStringList().join(", ") : v.toString());
        }
        return values;
    }

    // The file QSettings writes for these keys of our section.
    QByteArray writtenByQSettings(const QMap<QString, QString>& values)
    {
        const QString path = freshPath();
        {
            QSettings s(path, QSettings::IniFormat);
            for (auto it = values.cbegin(); it != values.cend(); ++it)
                s.setValue(ours + "/" + it.key(), it.value());
        }
        return fileBytes(path);
    }

private:
    int looks_ = 0;
};

QString withNul(const char* before, const char* after)
{
    return QString::fromLatin1(before) + QChar(0) + QString::fromLatin1(after);
}

} // namespace

TEST_F(IniSectionTest, ValuesAndKeysAreWrittenAsQSettingsWritesThemAndReadBack)
{
    const QString values[] = {
        "plain",
        "",
        "a, b",
        "x;y",
        "k=v",
        "  leading",
        "trailing ",
        "quote\"inside",
        "back\\slash",
        "ends in a backslash\\",
        "@at",
        "@@two",
        "@ByteArray(x)",
        "@Variant(x)",
        "@String(x)",
        withNul("nul", "1"),
        withNul("", "ab"),
        "tab\tnew line\ncarriage return\r",
        "\x01"
        "a\x02"
        "F\x1f"
        "g",
        "\a\b\f\v",
        QString::fromUtf8("Grüße"),
        QString::fromUtf8("日本語 \xF0\x9F\x98\x80"),
        QString(QChar(0x7F)) + QChar(0x85) + QChar(0xA0) + QChar(0xFFFD),
        "#not a comment",
        ";a comment",
        "[not a section]",
        "%20",
        "/home/me/My Music/",
        "<NAME> (<SIZE>).<EXT>",
        "\"",
    };
    for (const QString& v : values) {
        SCOPED_TRACE(v.toStdString());
        const QMap<QString, QString> one{{"key", v}};
        EXPECT_EQ(iniSectionText(ours, one), writtenByQSettings(one));
        const QMap<QString, QString> readBack{{ours + "/key", v}};
        EXPECT_EQ(readByQSettings(iniSectionText(ours, one)), readBack);
    }

    // Keys QSettings escapes, and a key of a subsection; keys come in order.
    const QMap<QString, QString> keys{{"sp ace", "1"},
                                      {"per%cent", "2"},
                                      {QString::fromUtf8("ä"), "3"},
                                      {QString::fromUtf8("€uro"), "4"},
                                      {"sub/key", "5"},
                                      {"Main_Top", "6"},
                                      {"a.b-c_d", "7"}};
    EXPECT_EQ(iniSectionText(ours, keys), writtenByQSettings(keys));
    QMap<QString, QString> expected;
    for (auto it = keys.cbegin(); it != keys.cend(); ++it)
        expected.insert(ours + "/" + it.key(), it.value());
    EXPECT_EQ(readByQSettings(iniSectionText(ours, keys)), expected);
    EXPECT_TRUE(iniSectionText(ours, {}).isEmpty());
}

// Hand-edited and odd files: after the section is replaced, added or removed,
// QSettings reads every other key exactly as before and our section exactly as
// written, and where our section was not in the file, the file's bytes are all
// still there, in order, around the new lines.
TEST_F(IniSectionTest, TheSectionIsFoundWhereQSettingsFindsIt)
{
    const struct {
        const char* name;
        QByteArray file;
    } files[] = {
        {"empty", ""},
        {"root keys only", "a=1\nb=2\n"},
        {"ours between others, with comments",
         "; kept by hand\n[Other]\nk=1\n\n[Vexor%20Renamer]\n; mine\nk=old\nj=2\n\n[Third]\nx=\"a, b\"\n"},
        {"CR LF line ends", "[Other]\r\nk=1\r\n[Vexor%20Renamer]\r\nk=old\r\n[Third]\r\nz=3\r\n"},
        {"a byte order mark", "\xef\xbb\xbf[Vexor%20Renamer]\nk=old\n[Other]\nk=1\n"},
        {"a byte order mark before root keys", "\xef\xbb\xbf"
                                               "a=1\n"},
        {"no end to the last line", "[Other]\nk=1"},
        {"a quote over lines holds a header", "[Other]\na=\"x\n[Vexor%20Renamer]\nk=old\n\"\nb=2\n"},
        {"a quote open to the end", "[Other]\na=\"open\n"},
        {"a quote open to the end and no section", "a=\"open\n"},
        {"a backslash at the end", "[Other]\na=b\\"},
        {"a backslash and a line end at the end", "[Other]\na=b\\\n"},
        {"a continued line holds a header", "[Other]\na=x\\\n[Vexor%20Renamer]\nk=old\n"},
        {"ours twice", "[Vexor%20Renamer]\nk=1\n[Other]\nb=2\n[Vexor%20Renamer]\nj=3\n"},
        {"ours last, twice", "[Other]\nb=2\n[Vexor%20Renamer]\nk=1\n[Vexor%20Renamer]\nj=3\n"},
        {"a subsection of ours", "[Vexor%20Renamer\\sub]\nx=1\n[Other]\nb=2\n"},
        {"a section whose name only starts like ours", "[Vexor%20Renamers]\nx=1\n"},
        {"indented header with a comment", "[Other]\nb=2\n   [Vexor%20Renamer]  ;note\nk=old\n"},
        {"the general sections", "[General]\nr=1\n[%General]\ng=2\n[Vexor%20Renamer]\nk=old\n"},
        {"a header in a comment", "[Other]\n; [Vexor%20Renamer]\nb=2\n"},
        {"a header after a semicolon", "[Other]\nb=2;[Vexor%20Renamer]\nc=3\n"},
        {"Latin-1 bytes", "[Other]\nname=Gr\xfc\xdf"
                          "e\n[Vexor%20Renamer]\nk=old\n"},
        {"headers without their bracket", "[Other\nb=2\n[Vexor%20Renamer\nk=old\n"},
        {"an empty level after ours", "[Vexor%20Renamer/]\nk=old\n[Other]\nb=2\n"},
        {"another case is another section", "[vexor%20renamer]\nk=1\n"},
        {"an equals sign in the header", "[Other]\nb=2\n[Vexor%20Renamer]=x\nk=old\n"},
    };
    const QMap<QString, QString> mine{{"k", "new, value"}, {"txtPath", "/home/me/"}};
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        QMap<QString, QString> others = readByQSettings(f.file);
        const bool hadOurs =
            std::any_of(others.keyBegin(), others.keyEnd(), [](const QString& k) { return k.startsWith(ours + "/"); });
        others.removeIf([](const auto& it) { return it.key().startsWith(ours + "/"); });

        const QByteArray written = withIniSection(f.file, ours, mine);
        QMap<QString, QString> expected = others;
        for (auto it = mine.cbegin(); it != mine.cend(); ++it)
            expected.insert(ours + "/" + it.key(), it.value());
        EXPECT_EQ(readByQSettings(written), expected) << written.toStdString();

        const QByteArray removed = withIniSection(f.file, ours, {});
        EXPECT_EQ(readByQSettings(removed), others) << removed.toStdString();

        if (!hadOurs) {
            EXPECT_EQ(removed, f.file);
            // The file's bytes, with the new lines at one place among them.
            qsizetype same = 0;
            while (same < f.file.size() && written[same] == f.file[same])
                ++same;
            EXPECT_TRUE(written.endsWith(f.file.mid(same))) << written.toStdString();
        }
    }
}

// A section kept by hand: its comments and blank lines, also those between
// its last key and the next header, stay where they are, byte for byte, and
// only the line of a changed key is new; in a CR LF file the lines added end
// as the others do.
TEST_F(IniSectionTest, CommentsAndBlankLinesInTheSectionStay)
{
    const struct {
        const char* name;
        QByteArray file;
        QMap<QString, QString> values;
        QByteArray expected;
    } cases[] = {
        {"a value changes",
         "[Vexor%20Renamer]\n; my paths\ntxtPath=/a\n\n; size\nMain_Top=1\n\n; the next program\n[Other]\nk=1\n",
         {{"txtPath", "/b"}, {"Main_Top", "1"}},
         "[Vexor%20Renamer]\n; my paths\ntxtPath=/b\n\n; size\nMain_Top=1\n\n; the next program\n[Other]\nk=1\n"},
        {"CR LF, a key added and one removed",
         "[Vexor%20Renamer]\r\na=1\r\n; about b\r\nb=2\r\n\r\n; after ours\r\n[Other]\r\nk=1\r\n",
         {{"b", "2"}, {"c", "x;y"}},
         "[Vexor%20Renamer]\r\n; about b\r\nb=2\r\nc=\"x;y\"\r\n\r\n; after ours\r\n[Other]\r\nk=1\r\n"},
        {"a comment on the line of a changed key",
         "[Vexor%20Renamer]\nk=1 ; one\nj=2\n",
         {{"k", "3"}, {"j", "2"}},
         "[Vexor%20Renamer]\nk=3; one\nj=2\n"},
        {"the section last, without a line end",
         "[Other]\nk=1\n[Vexor%20Renamer]\nk=1\n; end",
         {{"k", "1"}, {"new", "2"}},
         "[Other]\nk=1\n[Vexor%20Renamer]\nk=1\nnew=2\n; end"},
        {"a key twice: its last line counts",
         "[Vexor%20Renamer]\nk=1\n; between\nk=2\n",
         {{"k", "3"}},
         "[Vexor%20Renamer]\n; between\nk=3\n"},
        {"the section removed: the comments after it stay",
         "[Other]\nk=1\n\n[Vexor%20Renamer]\n; mine\na=1\n\n; about Third\n[Third]\nz=1\n",
         {},
         "[Other]\nk=1\n\n; about Third\n[Third]\nz=1\n"},
        {"a subsection's key changes in its own place",
         "[Vexor%20Renamer]\na=1\n; sub\n[Vexor%20Renamer\\sub]\nx=1\n; after\n",
         {{"a", "1"}, {"sub/x", "2"}},
         "[Vexor%20Renamer]\na=1\n; sub\n[Vexor%20Renamer\\sub]\nx=2\n; after\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray written = withIniSection(c.file, ours, c.values);
        EXPECT_EQ(written, c.expected) << written.toStdString();
        QMap<QString, QString> others = readByQSettings(c.file);
        others.removeIf([](const auto& it) { return it.key().startsWith(ours + "/"); });
        for (auto it = c.values.cbegin(); it != c.values.cend(); ++it)
            others.insert(ours + "/" + it.key(), it.value());
        EXPECT_EQ(readByQSettings(written), others);
    }
}

// A hand-edited line in an 8-bit encoding reads as Windows-1252, where
// QSettings alone would drop or replace its letters; escapes keep their
// meaning, other sections are not read, and the next write of the section
// gives the line in UTF-8. Lines in UTF-8 stay as they are.
TEST_F(IniSectionTest, EightBitLinesOfTheSectionReadAsWindows1252)
{
    const QByteArray file = "[Other]\nname=Gr\xfc\xdf"
                            "e\n"
                            "[Vexor%20Renamer]\n"
                            "txtReplace=caf\xe9\n"
                            "txtFind=\\x20ac \x80 %41\n"
                            "k\xe9y=\x93quoted\x94\n"
                            "p%41th=\xe9\n"
                            "txtAdd=d\xc3\xa9j\xc3\xa0\n";
    const QMap<QString, QString> read = platform::iniSectionValues(file, ours);
    const QMap<QString, QString> expected{{"txtReplace", QString::fromUtf8("café")},
                                          {"txtFind", QString::fromUtf8("€ € %41")},
                                          {QString::fromUtf8("kéy"), QString::fromUtf8("“quoted”")},
                                          {"pAth", QString::fromUtf8("é")},
                                          {"txtAdd", QString::fromUtf8("déjà")}};
    EXPECT_EQ(read, expected);

    QMap<QString, QString> changed = read;
    changed.insert("txtAdd", "x");
    const QByteArray written = withIniSection(file, ours, changed);
    EXPECT_EQ(written, "[Other]\nname=Gr\xfc\xdf"
                       "e\n"
                       "[Vexor%20Renamer]\n"
                       "txtReplace=caf\xc3\xa9\n"
                       "txtFind=\xe2\x82\xac \xe2\x82\xac %41\n"
                       "k%E9y=\xe2\x80\x9cquoted\xe2\x80\x9d\n"
                       "pAth=\xc3\xa9\n"
                       "txtAdd=x\n");
    EXPECT_EQ(platform::iniSectionValues(written, ours), changed);
    EXPECT_EQ(readByQSettings(written).value(ours + "/txtReplace"), QString::fromUtf8("café"));
}

// Files edited by hand, in every form QSettings reads: our reader finds the
// same keys and values in our section as QSettings does.
TEST_F(IniSectionTest, HandEditedSectionsReadAsQSettingsReadsThem)
{
    const struct {
        const char* name;
        QByteArray file;
    } files[] = {
        {"blanks around keys and values", "[Vexor%20Renamer]\n  k  =  v a l  \n\tj\t=\t\"  q  \"  \n"},
        {"lists", "[Vexor%20Renamer]\na=x, y ,z\nb=\"x, y\", z\nc=,\nd=\"\",\"\"\ne=@x, y\nf=@@x, y\n"},
        {"escapes", "[Vexor%20Renamer]\na=\\a\\b\\f\\n\\r\\t\\v\\\"\\?\\'\\\\\nb=\\x41\\x4a2g\\101\\1012\\q\\x\n"
                    "c=\\x\nd=\\\ne=x\\x0041y\\x10000z\nf=x \\x\ng=x \\x20\n"},
        {"blanks kept by escapes", "[Vexor%20Renamer]\na=x\\t \nb=\\x20 \nc=x \\ \n"},
        {"quotes", "[Vexor%20Renamer]\na=\"x\"y\"z\"\nb=x\"y\nc=\"open\nd=1\ne=\"\"\n"},
        {"lines run on", "[Vexor%20Renamer]\na=one\\\ntwo\nb=one\\\r\ntwo\nc=one\\\n\rtwo\nd=\"x\ny\"\n"},
        {"comments", "[Vexor%20Renamer]\n; whole line\n  ;indented\na=x ; after\nb=\"x ; in\"\nc=x;y\n# hash=1\n"},
        {"typed forms",
         "[Vexor%20Renamer]\na=@ByteArray(caf\xc3\xa9)\nb=@String(x, y)\nc=@Invalid()\nd=@Rect(1 2 3 4)\n"
         "e=@Size(5 6)\nf=@Point(7 8)\ng=@Rect(1 2)\nh=@Size(5 6\ni=@@x\nj=@\nk=@Unknown(1)\n"
         "l=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\0\\x5)\nm=@Variant(junk)\nn=@DateTime(\\0)\n"},
        {"odd keys", "[Vexor%20Renamer]\n=empty\na\\\\b=1\n\\\\c=2\nd\\\\=3\n%41%U00e9%zz%4=4\n%=5\nsp ace=6\n"
                     "a=x=y\n"},
        {"keys twice, over places and subsections",
         "[Vexor%20Renamer]\nk=1\nsub\\\\x=1\n[Vexor%20Renamer\\\\sub]\nx=2\n[Vexor%20Renamer]\nk=2\nk=3\n"},
        {"the section named in other ways", "[Vexor Renamer]\na=1\n[ Vexor%20Renamer ]\nb=2\n[Vexor%20Renamer\nc=3\n"},
        {"an empty level", "[Vexor%20Renamer]\nk=1\n[Vexor%20Renamer/]\nk=2\nj=3\n"},
        {"CR LF and CR alone", "[Vexor%20Renamer]\r\na=1\r\nb=\"x, y\"\r\n\r\nc=3\rd=4"},
        {"lines without a key", "[Vexor%20Renamer]\njunk\na=1\n[\n"},
        {"UTF-8", "[Vexor%20Renamer]\n\xc3\xa4=\xe6\x97\xa5\xe6\x9c\xac, \xf0\x9f\x98\x80\n"},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        EXPECT_EQ(platform::iniSectionValues(f.file, ours), sectionByQSettings(f.file));
    }
}

// Files made at random from the fragments that change how a line reads: our
// reader and QSettings agree on every one.
TEST_F(IniSectionTest, GeneratedFilesReadAsQSettingsReadsThem)
{
    const char* const headers[] = {"[Vexor%20Renamer]", "[Vexor%20Renamer\\sub]", "[Vexor Renamer]", "[Other]",
                                   "[General]"};
    const char* const keys[] = {"k", "j", "sub\\k", "%41", " k ", "", "%U00e9"};
    const char* const fragments[] = {
        "x",      " ",          "\t",   "\"",   "\\",       "\\n",      "\\x41",          "\\x4",
        "\\1",    ",",          ";",    "=",    "@",        "@String(", "@ByteArray(",    ")",
        "@@",     "\n",         "\r\n", "\\\n", "\xc3\xa9", "[",        "@Rect(1 2 3 4)", "#",
        "\\\r\n", "@Invalid()", "%41",  "\\q"};
    std::mt19937 random(51);
    const auto pick = [&](const auto& from) {
        return from[std::uniform_int_distribution<size_t>(0, std::size(from) - 1)(random)];
    };
    for (int n = 0; n < 1500; ++n) {
        QByteArray file;
        const int lines = std::uniform_int_distribution<int>(1, 8)(random);
        for (int l = 0; l < lines; ++l) {
            if (random() % 4 == 0) {
                file += pick(headers);
            } else {
                file += pick(keys);
                file += '=';
                const int count = std::uniform_int_distribution<int>(0, 5)(random);
                for (int p = 0; p < count; ++p)
                    file += pick(fragments);
            }
            file += random() % 5 == 0 ? "\r\n" : "\n";
        }
        ASSERT_EQ(platform::iniSectionValues(file, ours), sectionByQSettings(file)) << file.toStdString();
    }
}
