#include "mainwindow/panels/findreplacepanel.h"
#include "mainwindow/appstate.h"
#include "mainwindow/frmgetposition.h"
#include "mainwindow/panels/panelbuild.h"
#include "platform/uiservice.h"
#include "settings/bindings.h"
#include "settings/configfiles.h"
#include "settings/editorrules.h"

#include <QVBoxLayout>

using namespace panelbuild;
using namespace boxevents;
using platform::CheckBox;
using platform::OptionButton;
using platform::TextBox;
using platform::UpDown;

FindReplacePanel::FindReplacePanel(const PanelContext& context, QWidget* parent)
    : ModePanel(RenameMode::Replace, QStringLiteral("frmFindReplace"), context, parent)
{
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    auto* single = makeFrame(rules(), 13, QStringLiteral("      Single Replace"), this, &optReplaceSingle,
                             QStringLiteral("optReplaceSingle"));
    auto* batch = makeFrame(rules(), 14, QStringLiteral("      Batch Replace"), this, &optReplaceBatch,
                            QStringLiteral("optReplaceBatch"));
    setOptionPair(optReplaceSingle, optReplaceBatch);
    txtFind = named(new TextBox(single), QStringLiteral("txtFind"));
    txtReplace = named(new TextBox(single), QStringLiteral("txtReplace"));
    cmdReplaceGetString =
        pictureButton(single, QStringLiteral("cmdReplaceGetString"), QStyle::SP_FileDialogContentsView,
                      QStringLiteral("Open visual assist window..."));
    chkCaseSensitive =
        named(new CheckBox(QStringLiteral("Case Sensitive"), single), QStringLiteral("chkCaseSensitive"));
    chkReplaceMode = named(new CheckBox(QStringLiteral("Swap Mode"), single), QStringLiteral("chkReplaceMode"));
    txtReplaceStart = numberBox(single, QStringLiteral("txtReplaceStart"), QStringLiteral("0"), 3);
    txtReplaceCount = numberBox(single, QStringLiteral("txtReplaceCount"), QStringLiteral("0"), 3);
    UpDownReplace1 = named(new UpDown(txtReplaceStart, 0, 999, single), QStringLiteral("UpDownReplace1"));
    UpDownReplace2 = named(new UpDown(txtReplaceCount, 0, 999, single), QStringLiteral("UpDownReplace2"));
    cmdReplaceGetPosition =
        pictureButton(single, QStringLiteral("cmdReplaceGetPosition"), QStyle::SP_FileDialogContentsView,
                      QStringLiteral("Open visual assist window..."));
    for (QToolButton* b : {cmdReplaceGetString, cmdReplaceGetPosition})
        b->setFixedSize(22, 20);
    auto* sv = new QVBoxLayout(single);
    sv->setContentsMargins(6, 14, 6, 4);
    sv->setSpacing(2);
    sv->addWidget(label(QStringLiteral("Look for..."), single));
    auto* findRow = new QHBoxLayout;
    findRow->addWidget(txtFind, 1);
    findRow->addWidget(cmdReplaceGetString);
    sv->addLayout(findRow);
    sv->addWidget(label(QStringLiteral("... and replace with:"), single));
    sv->addWidget(txtReplace);
    sv->addLayout(row({chkCaseSensitive, chkReplaceMode}));
    sv->addLayout(row({label(QStringLiteral("Start:"), single), txtReplaceStart, UpDownReplace1, cmdReplaceGetPosition,
                       label(QStringLiteral("Count:"), single), txtReplaceCount, UpDownReplace2}));

    cmdReplaceAdd = pictureButton(batch, QStringLiteral("cmdReplaceAdd"), QStyle::SP_ArrowDown,
                                  QStringLiteral("Add current replace settings to batch replace list"));
    cmdReplaceEdit = pictureButton(batch, QStringLiteral("cmdReplaceEdit"), QStyle::SP_FileDialogDetailedView,
                                   QStringLiteral("Edit batch replace list..."));
    lblBatchReplace =
        named(label(QStringLiteral("0 items in batch replace list..."), batch), QStringLiteral("lblBatchReplace"));
    auto* bv = new QHBoxLayout(batch);
    bv->setContentsMargins(6, 14, 6, 4);
    bv->addWidget(lblBatchReplace, 1);
    bv->addWidget(cmdReplaceAdd);
    bv->addWidget(cmdReplaceEdit);
    v->addWidget(single);
    v->addWidget(batch);
    v->addStretch(1);
    optReplaceSingle->setChecked(true);

    // Handlers.
    for (TextBox* t : {txtFind, txtReplace})
        onChange(handlers(), t, [this] { emit changed(); });
    for (CheckBox* c : {chkCaseSensitive, chkReplaceMode})
        onClick(handlers(), c, [this] { emit changed(); });
    for (OptionButton* o : {optReplaceSingle, optReplaceBatch})
        onSelected(handlers(), o, [this] { emit subOptionChanged(); });
    onGotFocus(handlers(), txtFind, [this] { txtFind_GotFocus(); });
    for (TextBox* t : {txtReplace, txtReplaceStart, txtReplaceCount})
        rules().selectsOnFocus(t, optReplaceSingle);
    for (CheckBox* c : {chkCaseSensitive, chkReplaceMode})
        rules().focusSelects(c, optReplaceSingle);
    rules().numberBox(txtReplaceStart, kReplaceNumberRule, false);
    rules().numberBox(txtReplaceCount, kReplaceNumberRule, false);
    rules().spinnerSelects(UpDownReplace1, optReplaceSingle);
    rules().spinnerSelects(UpDownReplace2, optReplaceSingle);
    connect(cmdReplaceAdd, &QToolButton::clicked, handlers(), [this] { cmdReplaceAdd_Click(); });
    connect(cmdReplaceEdit, &QToolButton::clicked, handlers(),
            [this] { emit settingsRequested(QStringLiteral("batchreplace")); });
    connect(cmdReplaceGetPosition, &QToolButton::clicked, handlers(), [this] { cmdReplaceGetPosition_Click(); });
    connect(cmdReplaceGetString, &QToolButton::clicked, handlers(), [this] { cmdReplaceGetString_Click(); });
}

void FindReplacePanel::addBindings(SettingsBindings& b)
{
    using S = Settings;
    using O = RenameOptions;
    b.text(txtFind, &S::txtFind, &O::findText);
    b.text(txtReplace, &S::txtReplace, &O::replaceText);
    b.check(chkCaseSensitive, &S::chkCaseSensitive, &O::caseSensitive);
    b.check(chkReplaceMode, &O::swapMode); // not stored
    b.text(txtReplaceCount, &S::txtReplaceCount, &O::replaceCount);
    b.text(txtReplaceStart, &S::txtReplaceStart, &O::replaceStart);
    b.options({optReplaceSingle, optReplaceBatch}, &S::optReplace, &O::replaceBatch);
    // The stored caption, or the count of the batch list just loaded.
    b.loadStep([this](const Settings& s) {
        setBatchCaption(s.lblBatchReplace.isEmpty()
                            ? batchReplaceCaption(qsizetype(ctx.state.tables.batchReplaceList.size()))
                            : s.lblBatchReplace);
    });
}

QWidget* FindReplacePanel::focusFor(int subOption) const
{
    return subOption == 0 ? txtFind : nullptr;
}

void FindReplacePanel::setBatchCaption(const QString& text)
{
    lblBatchReplace->setText(text);
}

void FindReplacePanel::txtFind_GotFocus()
{
    optReplaceSingle->select();
    emit focusArrived();
    txtFind->selectAll();
}

void FindReplacePanel::cmdReplaceAdd_Click()
{
    const QString find = txtFind->text();
    const QString replace = txtReplace->text();
    if (find.isEmpty())
        return;
    // The batch file could not give such an item back unchanged.
    if (!batchTextStorable(find, true) || !batchTextStorable(replace, false)) {
        ctx.ui.message(window(), ctx.productTitle,
                       QStringLiteral("This pair cannot be added to the batch replace list: neither text may contain "
                                      "\"/\" or a control character, and the text to look for may not begin with "
                                      "\"#\"."),
                       QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok);
        return;
    }
    BatchReplaceItem item;
    item.find = find;
    item.replace = replace;
    item.caseSensitive = qint16(chkCaseSensitive->value());
    item.swapMode = qint16(chkReplaceMode->value());
    // A pasted text counts by the number it begins with, within the boxes' range.
    item.count = qint16(clampedBoxNumber(txtReplaceCount->text(), 0, 999));
    item.start = qint16(clampedBoxNumber(txtReplaceStart->text(), 0, 999));
    auto& list = ctx.state.tables.batchReplaceList;
    list.push_back(item);
    lblBatchReplace->setText(batchReplaceCaption(qsizetype(list.size())));
    ctx.state.preview.previewRequested = -1;
    emit changed();
}

void FindReplacePanel::cmdReplaceGetPosition_Click()
{
    if (!ctx.pickerAvailable())
        return;
    ctx.picker.vaMode = PickerMode::Position;
    ctx.picker.vaPosition = pickerNumber(txtReplaceStart->text());
    emit pickerRequested();
    txtReplaceStart->setText(QString::number(ctx.picker.vaPosition));
    txtReplaceStart->setFocus(Qt::OtherFocusReason);
}

void FindReplacePanel::cmdReplaceGetString_Click()
{
    if (!ctx.pickerAvailable())
        return;
    ctx.picker.vaLength = 0;
    ctx.picker.vaPosition = 0;
    ctx.picker.vaMode = PickerMode::Text;
    ctx.picker.vaText = txtFind->text();
    emit pickerRequested();
    txtFind->setText(ctx.picker.vaText);
    txtFind->setFocus(Qt::OtherFocusReason);
}
