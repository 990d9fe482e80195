// The option panels' input rules, one table per rule.
#include "mainwindow/panelrules.h"
#include "test_support.h"

TEST(PanelRules, LeaveCorrectionPerBox)
{
    struct Case {
        const char* box;
        const LeaveRule& rule;
        const char* text;
        const char* left;
    };
    const Case cases[] = {
        {"txtReplaceStart", kReplaceNumberRule, "", "0"},
        {"txtReplaceStart", kReplaceNumberRule, "-5", "0"},
        {"txtReplaceStart", kReplaceNumberRule, "999", "999"},
        {"txtReplaceStart", kReplaceNumberRule, "abc", "abc"},
        {"txtAddPos", kAddPosRule, "", "0"},
        {"txtAddPos", kAddPosRule, "-5", "0"},
        {"txtAddPos", kAddPosRule, "12", "12"},
        {"txtCropPos", kCropPosRule, "-1", "0"},
        {"txtCropNumber", kCropNumberRule, "", "1"},
        {"txtCropNumber", kCropNumberRule, "0", "1"},
        {"txtCropNumber", kCropNumberRule, "00", "1"},
        {"txtCropNumber", kCropNumberRule, "x", "1"},
        {"txtCropNumber", kCropNumberRule, "7", "7"},
        {"txtEnumStart", kEnumStartRule, "", "0"},
        {"txtEnumStart", kEnumStartRule, "-7", "-7"},
        {"txtEnumStart", kEnumStartRule, "-99999999", "-99999999"},
        {"txtEnumStart", kEnumStartRule, "999999999", "999999999"},
        {"txtEnumStart", kEnumStartRule, "1234567890", "999999999"},
        {"txtEnumStep", kEnumStepRule, "", "1"},
        {"txtEnumStep", kEnumStepRule, "-1", "-1"},
        {"txtEnumStep", kEnumStepRule, "1000000", "999999"},
        {"txtEnumZeros", kEnumZerosRule, "", "0"},
        {"txtEnumZeros", kEnumZerosRule, "45", "32"},
        {"txtEnumZeros", kEnumZerosRule, "32", "32"},
        {"txtEnumZeros", kEnumZerosRule, "-3", "0"},
        {"txtNormalize", kNormalizeRule, "", "0"},
        {"txtNormalize", kNormalizeRule, "99", "99"},
        {"txtNormalize", kNormalizeRule, "150", "99"},
        {"txtNormalize", kNormalizeRule, "-2", "0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(leaveCorrected(QString::fromLatin1(c.text), c.rule), QString::fromLatin1(c.left))
            << c.box << " \"" << c.text << '"';
}

TEST(PanelRules, TypedCharactersOfNumberBoxes)
{
    struct Case {
        char16_t typed;
        bool minusAllowed;
        bool passes;
    };
    const Case cases[] = {
        {u'0', false, true},  {u'9', false, true},    {8, false, true},   {13, false, true},   {27, false, true},
        {u'a', false, false}, {u'-', false, false},   {u'-', true, true}, {u'+', true, false}, {u' ', false, false},
        {u'.', false, false}, {0x0663, false, false}, // an Arabic-Indic digit is no digit here
        {9, false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(numberKeyPasses(QChar(c.typed), c.minusAllowed), c.passes)
            << int(c.typed) << (c.minusAllowed ? " minus allowed" : "");
}

TEST(PanelRules, MinusRule)
{
    const std::pair<const char*, const char*> cases[] = {
        {"123", "123"}, {"1-23", "-123"}, {"-123", "-123"}, {"-12-3", "-123"}, {"--5", "-5"},
        {"5-", "-5"},   {"-", "-"},       {"", ""},         {"--", "-"},
    };
    for (const auto& [text, result] : cases)
        EXPECT_EQ(minusRule(QString::fromLatin1(text)), QString::fromLatin1(result)) << text;
}

TEST(PanelRules, TagTokenOfAnItem)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Current Filename <NAME>", "<NAME>"},
        {"Move To SubDir <\\>", "<\\>"},
        {"Random Number (0-9) <RND#>", "<RND#>"},
        {"Number of Dirs. in Dir. & SubDirs  <SDIRDIRS>", "<SDIRDIRS>"},
        {"Part 9 <%9>", "<%9>"},
        {"a <b> <c>", "<c>"},
        {"no tag", "no tag"},
        {"", ""},
    };
    for (const auto& [item, token] : cases)
        EXPECT_EQ(tagToken(QString::fromLatin1(item)), QString::fromLatin1(token)) << item;
}

TEST(PanelRules, BatchStartAndCountFromAnyText)
{
    const std::pair<const char*, int> cases[] = {
        {"0", 0},   {"12", 12}, {"999", 999}, {"-5", 0},  {"", 0},
        {"abc", 0}, {"5x", 5},  {"2.5", 2},   {"3.5", 4}, {"99999", 999},
    };
    for (const auto& [text, n] : cases)
        EXPECT_EQ(clampedBoxNumber(QString::fromLatin1(text), 0, 999), n) << text;
}

TEST(PanelRules, KeptCaretFitsTheText)
{
    struct Case {
        CaretState kept;
        int length;
        CaretState fitted;
    };
    const Case cases[] = {
        {{3, 3, 0}, 10, {3, 3, 0}},  // caret kept
        {{12, 12, 0}, 5, {5, 5, 0}}, // text shortened: caret at its end
        {{0, 2, 4}, 10, {0, 2, 4}},  // selection kept
        {{9, 6, 4}, 8, {8, 6, 2}},   // selection cut at the end
        {{9, 9, 4}, 8, {8, 8, 0}},   // selection past the end: none left
        {{-1, -1, 0}, 4, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        const CaretState f = fittedCaret(c.kept, c.length);
        EXPECT_EQ(f.cursor, c.fitted.cursor);
        EXPECT_EQ(f.selectionStart, c.fitted.selectionStart);
        EXPECT_EQ(f.selectionLength, c.fitted.selectionLength);
    }
}
