#pragma once
#include <functional>

class QLineEdit;

// The small text-box rules of the options window and its item dialog, attached
// to a plain line edit.

// Selects the whole text each time the box gets the focus.
void selectAllOnFocus(QLineEdit* box);

// A box of at most `maxLength` digits: a printable character typed without
// Ctrl or Meta passes only when it is a digit (every other key, the editing
// shortcuts included, works as usual), and pasted text only when it is all
// digits. `leave` runs each time the focus leaves the box.
void makeDigitBox(QLineEdit* box, int maxLength, std::function<void()> leave);

// Refuses a typed or pasted change that would put a "/" or a control character
// into the box, or with `isFind` a "#" at its start: such a batch-replace text
// could not be read back from "replace.txt".
void makeBatchTextBox(QLineEdit* box, bool isFind);
