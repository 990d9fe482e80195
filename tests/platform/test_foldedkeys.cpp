#include "platform/foldedkeys.h"
#include "test_support.h"

// The keys must be exactly what QString::toCaseFolded gives, or a listing
// sorted by them would come out in another order than a sort by folded names.
TEST(FoldedKeys, EachKeyIsTheNameAsToCaseFoldedGivesIt)
{
    const QString lone = QString(QChar(0xD801)) + QStringLiteral("x") + QChar(0xDC00);
    const QStringList names = {
        QStringLiteral("Track 01 - Some Artist.MP3"),
        QString(),
        QStringLiteral("ÄÖÜ straße ΣΑΣ ς"),
        QStringLiteral("KELVIN \u212A, Angstrom \u212B, Ǆ ǅ"),
        QString::fromUtf8("\xF0\x90\x90\x80 Deseret \xF0\x9E\xA4\x80 Adlam"), // letters past the first plane
        lone,                                                                 // halves of a pair, each alone
        QString(QChar(0xD83D)),                                               // a high half at the very end
        QStringLiteral("İstanbul ǰ ŉ"),
    };
    platform::FoldedKeys keys;
    keys.reserve(size_t(names.size()), 8);
    for (const QString& n : names)
        keys.add(n);
    ASSERT_EQ(keys.size(), size_t(names.size()));
    for (qsizetype i = 0; i < names.size(); ++i)
        EXPECT_EQ(keys[size_t(i)].toString(), names[i].toCaseFolded()) << names[i].toStdString();
}

TEST(FoldedKeys, EveryCodePointFoldsAsInAString)
{
    platform::FoldedKeys keys;
    QStringList names;
    for (char32_t c = 0x80; c < 0x110000; ++c)
        if (c < 0xD800 || c > 0xDFFF)
            names.push_back(QString::fromUcs4(&c, 1));
    for (const QString& n : names)
        keys.add(n);
    qsizetype differing = 0;
    for (qsizetype i = 0; i < names.size(); ++i)
        differing += keys[size_t(i)] != QStringView(names[i].toCaseFolded());
    EXPECT_EQ(differing, 0);
}
