#pragma once
#include <QChar>
#include <QString>

// The option panels' input rules as plain functions: what a number box lets
// through, how it is corrected when the focus leaves it, the minus rule of the
// enumeration boxes, the tag a tag-list item inserts and the caret a pattern
// box keeps while it has no focus.

// The lower test of a leave correction.
enum class LowerTest {
    None,      // no lower bound
    BelowZero, // a number below 0 becomes lowerText
    Zero,      // the number 0 becomes lowerText
};

// The leave correction of one number box: an empty text, then the lower test,
// then the upper test, each on the text the previous step left.
struct LeaveRule {
    const char* emptyText;
    LowerTest lower;
    const char* lowerText; // used when `lower` is not None
    double upper;          // 0: no upper test
    const char* upperText; // used when `upper` is not 0
};

// The boxes' rules.
inline constexpr LeaveRule kReplaceNumberRule{"0", LowerTest::BelowZero, "0", 0, nullptr}; // start and count
inline constexpr LeaveRule kAddPosRule{"0", LowerTest::BelowZero, "0", 0, nullptr};
inline constexpr LeaveRule kCropPosRule{"0", LowerTest::BelowZero, "0", 0, nullptr};
inline constexpr LeaveRule kCropNumberRule{"1", LowerTest::Zero, "1", 0, nullptr};
inline constexpr LeaveRule kEnumStartRule{"0", LowerTest::None, nullptr, 999999999, "999999999"};
inline constexpr LeaveRule kEnumStepRule{"1", LowerTest::None, nullptr, 999999, "999999"};
inline constexpr LeaveRule kEnumZerosRule{"0", LowerTest::BelowZero, "0", 32, "32"};
inline constexpr LeaveRule kNormalizeRule{"0", LowerTest::BelowZero, "0", 99, "99"};

// The text a box holds after its leave correction; the text itself when no
// test hits. The number tested is the one the text begins with (a text that
// does not begin with a number counts as 0), so a pasted text never fails.
QString leaveCorrected(const QString& text, const LeaveRule& rule);

// Whether a typed character reaches a number box: the digits 0-9, Backspace,
// Enter and Escape, and "-" where the box allows it.
bool numberKeyPasses(QChar typed, bool minusAllowed);

// The minus rule of the start and step boxes: a text holding "-" anywhere
// becomes "-" followed by the text without any "-"; other texts stay.
QString minusRule(const QString& text);

// The tag a tag-list item inserts: the item's text from its last "<" to its
// end; the whole text when it holds no "<"; empty for an empty text.
QString tagToken(const QString& itemText);

// The number a box's text begins with, clamped to lo..hi and rounded halves
// to even, as the batch "Add" takes the start and the count.
int clampedBoxNumber(const QString& text, int lo, int hi);

// Caret and selection of a line box: the caret position, and the selection
// as start and length (length 0: nothing selected).
struct CaretState {
    int cursor = 0;
    int selectionStart = 0;
    int selectionLength = 0;
};

// The kept caret and selection fitted to the box's current text, which code
// may have changed while the box had no focus: nothing reaches past its end.
CaretState fittedCaret(const CaretState& kept, int textLength);
