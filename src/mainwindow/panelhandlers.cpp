#include "mainwindow/panelhandlers.h"
#include "mainwindow/frmmain.h"
#include "settings/configfiles.h"
#include "settings/editorrules.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPalette>

using platform::CheckBox;
using platform::OptionButton;
using platform::TextBox;
using platform::UpDown;

namespace {

// The controls' events, each a signal of its wrapper; a control can have
// several listeners (a focus rule and a kept caret), run in the order connected.
// The handlers belong to `owner`, whose end disconnects them.
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
// `passes` returns false to swallow the key.
void onKey(QObject* owner, TextBox* t, std::function<bool(QKeyEvent*)> passes)
{
    QObject::connect(t, &TextBox::keyPress, owner, [passes = std::move(passes)](QKeyEvent* e) {
        if (!passes(e))
            e->accept();
    });
}

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

PanelHandlers::PanelHandlers(FrmMain& window) : QObject(&window), w(window)
{
    connectFindReplace();
    connectCase();
    connectSpace();
    connectAttributes();
    connectAddCrop();
    connectEnum();
    connectMp3AndFormat();
    // The digits box looks as the "Auto" tick the window was built with says;
    // a stored value that differs runs the handler again.
    chkEnumAutoZeros_Click();
}

void PanelHandlers::gate()
{
    w.updateExecuteButton();
}

// ---------------------------------------------------------------- shared rules

void PanelHandlers::numberBox(TextBox* box, const LeaveRule& rule, bool minusAllowed)
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
        gate();
    });
}

void PanelHandlers::applyLeaveCorrection(QWidget* box)
{
    const auto it = leaveRules_.find(box);
    if (it == leaveRules_.end())
        return;
    auto* t = static_cast<TextBox*>(box);
    const QString corrected = leaveCorrected(t->text(), it->second);
    if (corrected == t->text())
        return;
    t->setText(corrected);
    gate();
}

void PanelHandlers::selectsOnFocus(TextBox* box, OptionButton* option)
{
    onGotFocus(this, box, [box, option] {
        option->select();
        box->selectAll();
    });
}

void PanelHandlers::spinnerSelects(UpDown* spinner, OptionButton* option)
{
    // The spinner has written its number into the box by now (its own
    // connection comes first); moving the focus runs the box's leave correction.
    for (QToolButton* b : {spinner->upButton(), spinner->downButton()})
        connect(b, &QToolButton::clicked, this, [option] {
            option->select();
            option->setFocus(Qt::OtherFocusReason);
        });
}

void PanelHandlers::focusSelects(QWidget* widget, OptionButton* option)
{
    focusOptions_.emplace(widget, option);
    widget->installEventFilter(this);
}

void PanelHandlers::keepsCaret(TextBox* box)
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

bool PanelHandlers::eventFilter(QObject* watched, QEvent* e)
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
                focusGuard(QStringLiteral("Case"));
        }
    }
    return QObject::eventFilter(watched, e);
}

// A control of a hidden panel that gets the focus hands it on, so the keyboard
// never works in a panel the user cannot see.
void PanelHandlers::focusGuard(const QString& panelKey)
{
    if (w.TabStrip->selectedKey() == panelKey)
        return;
    if (w.cmdExecute->isEnabled())
        w.cmdExecute->setFocus(Qt::OtherFocusReason);
    else
        w.cmdAbout->setFocus(Qt::OtherFocusReason);
}

// ---------------------------------------------------------------- Find & Replace

void PanelHandlers::connectFindReplace()
{
    for (TextBox* t : {w.txtFind, w.txtReplace})
        onChange(this, t, [this] { gate(); });
    for (CheckBox* c : {w.chkCaseSensitive, w.chkReplaceMode})
        onClick(this, c, [this] { gate(); });
    for (OptionButton* o : {w.optReplaceSingle, w.optReplaceBatch})
        onSelected(this, o, [this] { gate(); });
    onGotFocus(this, w.txtFind, [this] { txtFind_GotFocus(); });
    for (TextBox* t : {w.txtReplace, w.txtReplaceStart, w.txtReplaceCount})
        selectsOnFocus(t, w.optReplaceSingle);
    for (CheckBox* c : {w.chkCaseSensitive, w.chkReplaceMode})
        focusSelects(c, w.optReplaceSingle);
    numberBox(w.txtReplaceStart, kReplaceNumberRule, false);
    numberBox(w.txtReplaceCount, kReplaceNumberRule, false);
    spinnerSelects(w.UpDownReplace1, w.optReplaceSingle);
    spinnerSelects(w.UpDownReplace2, w.optReplaceSingle);
    connect(w.cmdReplaceAdd, &QToolButton::clicked, this, &PanelHandlers::cmdReplaceAdd_Click);
}

void PanelHandlers::txtFind_GotFocus()
{
    w.optReplaceSingle->select();
    focusGuard(QStringLiteral("Replace"));
    w.txtFind->selectAll();
}

void PanelHandlers::cmdReplaceAdd_Click()
{
    const QString find = w.txtFind->text();
    const QString replace = w.txtReplace->text();
    if (find.isEmpty())
        return;
    // The batch file could not give such an item back unchanged.
    if (!batchTextStorable(find, true) || !batchTextStorable(replace, false)) {
        w.ui.message(&w, w.productTitle,
                     QStringLiteral("This pair cannot be added to the batch replace list: neither text may contain "
                                    "\"/\" or a control character, and the text to look for may not begin with \"#\"."),
                     QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok);
        return;
    }
    BatchReplaceItem item;
    item.find = find;
    item.replace = replace;
    item.caseSensitive = qint16(w.chkCaseSensitive->value());
    item.swapMode = qint16(w.chkReplaceMode->value());
    // A pasted text counts by the number it begins with, within the boxes' range.
    item.count = qint16(clampedBoxNumber(w.txtReplaceCount->text(), 0, 999));
    item.start = qint16(clampedBoxNumber(w.txtReplaceStart->text(), 0, 999));
    auto& list = w.state.tables.batchReplaceList;
    list.push_back(item);
    w.lblBatchReplace->setText(batchReplaceCaption(qsizetype(list.size())));
    w.state.preview.previewRequested = -1;
    gate();
}

// ---------------------------------------------------------------- Convert Case and Space

void PanelHandlers::connectCase()
{
    auto options = [this](auto& group) {
        for (OptionButton* o : group) {
            onSelected(this, o, [this] { gate(); });
            focusSelects(o, nullptr); // no option: the focus guard
        }
    };
    options(w.Case1);
    options(w.Case2);
    onClick(this, w.chkExceptionsEnabled, [this] { gate(); });
}

void PanelHandlers::caseOption_GotFocus()
{
    focusGuard(QStringLiteral("Case"));
}

void PanelHandlers::connectSpace()
{
    for (CheckBox* c : {w.chkSpaceBeginning, w.chkSpaceEnd, w.chkSpaceShrink})
        onClick(this, c, [this] { gate(); });
}

// ---------------------------------------------------------------- Attributes & Date

void PanelHandlers::connectAttributes()
{
    onClick(this, w.chkR, [this] { attributeBox_Click(w.chkR, lastAttrValueR); });
    onClick(this, w.chkH, [this] { attributeBox_Click(w.chkH, lastAttrValueH); });
    onClick(this, w.chkS, [this] { attributeBox_Click(w.chkS, lastAttrValueS); });
    onClick(this, w.chkA, [this] { attributeBox_Click(w.chkA, lastAttrValueA); });
    auto datesChosen = [this] {
        w.optAttrib_Date->select();
        gate();
    };
    for (CheckBox* c : {w.chkDateCreated, w.chkDateAccessed, w.chkDateModified})
        onClick(this, c, datesChosen);
    connect(w.dtDate, &QDateEdit::dateChanged, this, datesChosen);
    connect(w.dtTime, &QTimeEdit::timeChanged, this, datesChosen);
    onClick(this, w.chkDateDate, [this] { chkDateDate_Click(); });
    onClick(this, w.chkDateTime, [this] { chkDateTime_Click(); });
    connect(w.cmdGetCurrentDate, &QToolButton::clicked, this, &PanelHandlers::cmdGetCurrentDate_Click);
    connect(w.cmdGetCurrentTime, &QToolButton::clicked, this, &PanelHandlers::cmdGetCurrentTime_Click);
    onSelected(this, w.optAttrib_Attributes, [this] { optAttrib_Attributes_Click(); });
    onSelected(this, w.optAttrib_Date, [this] { optAttrib_Date_Click(); });
}

// A user's click turns a grey box unticked and toggles the others; a box that
// was ticked before turns grey here, so clicks cycle grey, unticked, ticked.
void PanelHandlers::attributeBox_Click(CheckBox* box, int& lastValue)
{
    w.optAttrib_Attributes->select();
    if (lastValue == 1)
        box->setValue(2); // runs this handler once more, nested
    lastValue = box->value();
    gate();
}

void PanelHandlers::datePairRule(CheckBox* own, CheckBox* other, QWidget* picker)
{
    w.optAttrib_Date->select();
    gate();
    if (own->value() == 1) {
        picker->setEnabled(true);
        return;
    }
    if (other->value() == 0)
        other->setValue(1); // its own rule enables its picker
    picker->setEnabled(false);
}

void PanelHandlers::chkDateDate_Click()
{
    datePairRule(w.chkDateDate, w.chkDateTime, w.dtDate);
}

void PanelHandlers::chkDateTime_Click()
{
    datePairRule(w.chkDateTime, w.chkDateDate, w.dtTime);
}

void PanelHandlers::cmdGetCurrentDate_Click()
{
    w.optAttrib_Date->select();
    w.dtDate->setDate(w.ui.now().date());
    w.dtDate->setFocus(Qt::OtherFocusReason);
}

void PanelHandlers::cmdGetCurrentTime_Click()
{
    w.optAttrib_Date->select();
    w.dtTime->setTime(w.ui.now().time());
    w.dtTime->setFocus(Qt::OtherFocusReason);
}

void PanelHandlers::optAttrib_Attributes_Click()
{
    w.dirsAllowed = -1;
    // In Free Select the file-mode switch keeps "Directories" disabled.
    if (w.fileMode == 0)
        w.chkDirs->setEnabled(true);
    gate();
}

// File dates are changed on files only.
void PanelHandlers::optAttrib_Date_Click()
{
    w.dirsAllowed = 0;
    w.chkDirs->setEnabled(false);
    w.chkFiles->setValue(1);
    w.chkDirs->setValue(0);
    gate();
}

// ---------------------------------------------------------------- Add & Crop

void PanelHandlers::connectAddCrop()
{
    for (OptionButton* o :
         {w.optAdd, w.optCrop, w.optAddBeginning, w.optAddEnding, w.optCropBeginning, w.optCropEnding})
        onSelected(this, o, [this] { gate(); });
    focusSelects(w.optAddBeginning, w.optAdd);
    focusSelects(w.optAddEnding, w.optAdd);
    focusSelects(w.optCropBeginning, w.optCrop);
    focusSelects(w.optCropEnding, w.optCrop);
    onChange(this, w.txtAdd, [this] { gate(); });
    selectsOnFocus(w.txtAdd, w.optAdd);
    selectsOnFocus(w.txtAddPos, w.optAdd);
    selectsOnFocus(w.txtCropNumber, w.optCrop);
    selectsOnFocus(w.txtCropPos, w.optCrop);
    numberBox(w.txtAddPos, kAddPosRule, false);
    numberBox(w.txtCropNumber, kCropNumberRule, false);
    numberBox(w.txtCropPos, kCropPosRule, false);
    spinnerSelects(w.UpDownAdd, w.optAdd);
    spinnerSelects(w.UpDownCrop1, w.optCrop);
    spinnerSelects(w.UpDownCrop2, w.optCrop);
}

// ---------------------------------------------------------------- Enum

void PanelHandlers::connectEnum()
{
    onGotFocus(this, w.txtEnumFormat, [this] { w.chkEnumTab_Enum->select(); });
    keepsCaret(w.txtEnumFormat);
    onChange(this, w.txtEnumFormat, [this] {
        w.chkEnumTab_Enum->select();
        gate();
    });
    for (TextBox* t : {w.txtEnumStart, w.txtEnumStep, w.txtEnumZeros})
        selectsOnFocus(t, w.chkEnumTab_Enum);
    selectsOnFocus(w.txtNormalize, w.chkEnumTab_Normalize);
    numberBox(w.txtEnumStart, kEnumStartRule, true);
    numberBox(w.txtEnumStep, kEnumStepRule, true);
    numberBox(w.txtEnumZeros, kEnumZerosRule, false);
    numberBox(w.txtNormalize, kNormalizeRule, false);
    focusSelects(w.chkEnumAutoZeros, w.chkEnumTab_Enum);
    onClick(this, w.chkEnumAutoZeros, [this] { chkEnumAutoZeros_Click(); });
    onClick(this, w.chkEnumResetBetweenDirs, [this] { chkEnumResetBetweenDirs_Click(); });
    onSelected(this, w.chkEnumTab_Enum, [this] { chkEnumTab_Enum_Click(); });
    onSelected(this, w.chkEnumTab_Normalize, [this] { chkEnumTab_Normalize_Click(); });
    for (UpDown* u : {w.UpDownEnum1, w.UpDownEnum2, w.UpDownEnum3})
        spinnerSelects(u, w.chkEnumTab_Enum);
    spinnerSelects(w.UpDownNormalize, w.chkEnumTab_Normalize);
    connect(w.cmbEnumFormat, &QComboBox::activated, this,
            [this] { insertTagAtCaret(w.cmbEnumFormat, w.txtEnumFormat); });
}

void PanelHandlers::chkEnumAutoZeros_Click()
{
    // Ticked: the digits come from the number of entries; the box keeps its
    // value and shows the button-face colour. Its spinner stays usable.
    const bool automatic = w.chkEnumAutoZeros->value() == 1;
    w.txtEnumZeros->setEnabled(!automatic);
    QPalette p = w.txtEnumZeros->palette();
    const QPalette app = QApplication::palette();
    const QColor base =
        automatic ? app.color(QPalette::Active, QPalette::Button) : app.color(QPalette::Active, QPalette::Base);
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(g, QPalette::Base, base);
    w.txtEnumZeros->setPalette(p);
    gate();
}

// Automatic digits would count a directory's entries while the numbers start
// again in each: the two are never ticked together.
void PanelHandlers::chkEnumResetBetweenDirs_Click()
{
    if (w.chkEnumResetBetweenDirs->value() == 1) {
        w.chkEnumAutoZeros->setValue(0);
        w.chkEnumAutoZeros->setEnabled(false);
    } else {
        w.chkEnumAutoZeros->setEnabled(true);
    }
    gate();
}

void PanelHandlers::chkEnumTab_Enum_Click()
{
    w.chkProcessFilename->setEnabled(false);
    w.chkProcessFileExt->setEnabled(false);
    gate();
}

void PanelHandlers::chkEnumTab_Normalize_Click()
{
    w.chkProcessFilename->setEnabled(true);
    w.chkProcessFileExt->setEnabled(true);
    gate();
}

// ---------------------------------------------------------------- Mp3 and Format

void PanelHandlers::connectMp3AndFormat()
{
    onChange(this, w.txtMp3Format, [this] { gate(); });
    keepsCaret(w.txtMp3Format);
    onKey(this, w.txtMp3Format, [this](QKeyEvent* e) {
        // Enter goes to "Rename!" without starting the run.
        if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && w.cmdExecute->isEnabled()) {
            w.cmdExecute->setFocus(Qt::OtherFocusReason);
            return false;
        }
        return true;
    });
    for (CheckBox* c : {w.chkMp3AddExtension, w.chkMp3OnlyFilledTags, w.chkMp3OnlyMp3Files, w.chkMp3UseID3v2})
        onClick(this, c, [this] { gate(); });
    connect(w.cmbAddMp3Tag, &QComboBox::activated, this, [this] { insertTagAtCaret(w.cmbAddMp3Tag, w.txtMp3Format); });

    onSelected(this, w.chkFormatTab_Format, [this] { chkFormatTab_Format_Click(); });
    onSelected(this, w.chkFormatTab_Detect, [this] { chkFormatTab_Detect_Click(); });
    onClick(this, w.chkFormatAllMustBeAvailable, [this] {
        w.chkFormatTab_Format->select();
        gate();
    });
    for (CheckBox* c : {w.chkFileDetect_KeepExt, w.chkFileDetect_TryText, w.chkFileDetect_TryMp3})
        onClick(this, c, [this] {
            w.chkFormatTab_Detect->select();
            gate();
        });
    for (TextBox* t : {w.txtFormat, w.txtFormatParts}) {
        onChange(this, t, [this] {
            w.chkFormatTab_Format->select();
            gate();
        });
        keepsCaret(t);
    }
    connect(w.cmbFormat, &QComboBox::activated, this, [this] { insertTagAtCaret(w.cmbFormat, w.txtFormat); });
    connect(w.cmbFormatParts, &QComboBox::activated, this,
            [this] { insertTagAtCaret(w.cmbFormatParts, w.txtFormatParts); });
}

void PanelHandlers::chkFormatTab_Format_Click()
{
    if (w.fileMode == 0)
        w.chkDirs->setEnabled(true);
    w.dirsAllowed = -1;
    w.chkProcessFilename->setEnabled(true);
    w.chkProcessFileExt->setEnabled(true);
    gate();
}

// File-type detection works on files only.
void PanelHandlers::chkFormatTab_Detect_Click()
{
    w.chkDirs->setEnabled(false);
    w.dirsAllowed = 0;
    w.chkFiles->setValue(1);
    w.chkDirs->setValue(0);
    w.chkProcessFilename->setEnabled(false);
    w.chkProcessFileExt->setEnabled(false);
    gate();
}

// The chosen tag goes to the clipboard and, once this handler has returned, into
// whichever box then has the focus (the target, at its kept caret), replacing
// its selection. The token is inserted directly rather than pasted, so it
// arrives even where the clipboard cannot be written.
void PanelHandlers::insertTagAtCaret(QComboBox* list, TextBox* target)
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
