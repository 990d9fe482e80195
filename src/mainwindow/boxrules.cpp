#include "mainwindow/boxrules.h"

#include <QClipboard>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

using platform::CheckBox;
using platform::OptionButton;
using platform::TextBox;
using platform::UpDown;

namespace boxevents {

void onChange(QObject* owner, TextBox* t, std::function<void()> f)
{
    QObject::connect(t, &TextBox::changed, owner, std::move(f));
}
void onGotFocus(QObject* owner, TextBox* t, std::function<void()> f)
{
    QObject::connect(t, &TextBox::gotFocus, owner, std::move(f));
}
void onLostFocus(QObject* owner, TextBox* t, std::function<void()> f)
{
    QObject::connect(t, &TextBox::lostFocus, owner, std::move(f));
}
void onClick(QObject* owner, CheckBox* c, std::function<void()> f)
{
    QObject::connect(c, &CheckBox::valueClicked, owner, std::move(f));
}
void onSelected(QObject* owner, OptionButton* o, std::function<void()> f)
{
    QObject::connect(o, &OptionButton::selected, owner, std::move(f));
}
void onKey(QObject* owner, TextBox* t, std::function<bool(QKeyEvent*)> passes)
{
    QObject::connect(t, &TextBox::keyPress, owner, [passes = std::move(passes)](QKeyEvent* e) {
        if (!passes(e))
            e->accept();
    });
}

} // namespace boxevents

using namespace boxevents;

namespace {

// A key event that types a character into a number box. Keys without a
// character (arrows, Delete) and shortcuts (copy, paste, undo) are no typed
// characters, and a control character never inserts anything.
bool typedKeyPasses(const QKeyEvent* e, bool minusAllowed)
{
    if (e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return true;
    const QString text = e->text();
    if (text.isEmpty() || !text[0].isPrint())
        return true;
    return numberKeyPasses(text[0], minusAllowed);
}

// The focus left for another control of the window, not for a menu, a
// drop-down or another window: only then is the box "left".
bool focusMovedOn(const QWidget* box)
{
    return box->window()->focusWidget() != box;
}

} // namespace

BoxRules::BoxRules(QObject* owner, std::function<void()> changed, std::function<void()> strayFocus)
    : QObject(owner), changed_(std::move(changed)), strayFocus_(std::move(strayFocus))
{
}

void BoxRules::numberBox(TextBox* box, const LeaveRule& rule, bool minusAllowed)
{
    leaveRules_.emplace(box, rule);
    onKey(this, box, [minusAllowed](QKeyEvent* e) { return typedKeyPasses(e, minusAllowed); });
    onLostFocus(this, box, [this, box] {
        if (focusMovedOn(box))
            applyLeaveCorrection(box);
    });
    onChange(this, box, [this, box, minusAllowed] {
        if (minusAllowed) {
            const QString t = minusRule(box->text());
            if (t != box->text()) {
                box->setText(t); // runs this handler again, which finds nothing to move
                return;
            }
        }
        changed_();
    });
}

bool BoxRules::applyLeaveCorrection(QWidget* box)
{
    const auto it = leaveRules_.find(box);
    if (it == leaveRules_.end())
        return false;
    auto* t = static_cast<TextBox*>(box);
    const QString corrected = leaveCorrected(t->text(), it->second);
    if (corrected == t->text())
        return true;
    t->setText(corrected);
    changed_();
    return true;
}

void BoxRules::selectsOnFocus(TextBox* box, OptionButton* option)
{
    onGotFocus(this, box, [box, option] {
        option->select();
        box->selectAll();
    });
}

void BoxRules::spinnerSelects(UpDown* spinner, OptionButton* option)
{
    // The spinner has written its number into the box by now (its own
    // connection comes first); moving the focus runs the box's leave correction.
    for (QToolButton* b : {spinner->upButton(), spinner->downButton()})
        connect(b, &QToolButton::clicked, this, [option] {
            option->select();
            option->setFocus(Qt::OtherFocusReason);
        });
}

void BoxRules::focusSelects(QWidget* widget, OptionButton* option)
{
    focusOptions_.emplace(widget, option);
    widget->installEventFilter(this);
}

void BoxRules::keepsCaret(TextBox* box)
{
    caretBoxes_.insert(box);
    box->installEventFilter(this);
    onGotFocus(this, box, [this, box] {
        // Until the box is first left, its caret waits at the end of the text.
        const int length = int(box->text().size());
        const auto kept = keptCarets_.find(box);
        const CaretState c =
            kept != keptCarets_.end() ? fittedCaret(kept->second, length) : CaretState{length, length, 0};
        if (c.selectionLength == 0)
            box->setCursorPosition(c.cursor);
        else if (c.cursor == c.selectionStart)
            box->setSelection(c.selectionStart + c.selectionLength, -c.selectionLength);
        else
            box->setSelection(c.selectionStart, c.selectionLength);
    });
}

void BoxRules::frameSelects(QGroupBox* frame, int index, OptionButton* option)
{
    frames_[index] = {frame, option};
    if (option)
        frame->installEventFilter(this);
}

bool BoxRules::clickFrame(int index)
{
    const auto it = frames_.find(index);
    if (it == frames_.end())
        return false;
    if (OptionButton* option = it->second.second)
        option->select();
    return true;
}

bool BoxRules::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::FocusOut) {
        // Taken before the box clears its selection on losing the focus.
        if (caretBoxes_.count(watched) != 0) {
            auto* box = static_cast<TextBox*>(watched);
            CaretState c;
            c.cursor = box->cursorPosition();
            c.selectionStart = box->hasSelectedText() ? box->selectionStart() : c.cursor;
            c.selectionLength = box->hasSelectedText() ? int(box->selectedText().size()) : 0;
            keptCarets_[box] = c;
        }
    } else if (e->type() == QEvent::FocusIn) {
        const auto option = focusOptions_.find(watched);
        if (option != focusOptions_.end()) {
            if (option->second)
                option->second->select();
            else
                strayFocus_();
        }
    } else if (e->type() == QEvent::MouseButtonRelease) {
        // A frame's option follows a finished click on the frame itself; a press
        // on a label or box inside it that the child passes on is not the frame's.
        for (const auto& [index, f] : frames_)
            if (watched == f.first) {
                const auto* me = static_cast<QMouseEvent*>(e);
                const QPoint at = me->position().toPoint();
                if (me->button() == Qt::LeftButton && f.first->rect().contains(at) && !f.first->childAt(at))
                    clickFrame(index);
                break;
            }
    }
    return QObject::eventFilter(watched, e);
}

// The chosen tag goes to the clipboard and, once this handler has returned, into
// whichever box then has the focus (the target, at its kept caret), replacing
// its selection. The token is inserted directly rather than pasted, so it
// arrives even where the clipboard cannot be written.
void BoxRules::insertTagAtCaret(QComboBox* list, TextBox* target)
{
    const QString token = tagToken(list->currentText());
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(token, QClipboard::Clipboard);
    target->setFocus(Qt::OtherFocusReason);
    // Closing the drop-down hands the focus back to the list; the tag goes to
    // the target all the same, with the focus.
    QMetaObject::invokeMethod(
        this,
        [target = QPointer<TextBox>(target), token] {
            if (!target || !target->isEnabled() || !target->isVisible())
                return;
            target->setFocus(Qt::OtherFocusReason);
            target->insert(token);
        },
        Qt::QueuedConnection);
}
