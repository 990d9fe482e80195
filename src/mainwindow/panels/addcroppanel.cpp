#include "mainwindow/panels/addcroppanel.h"
#include "mainwindow/frmgetposition.h"
#include "mainwindow/panels/panelbuild.h"
#include "settings/bindings.h"

#include <QVBoxLayout>

using namespace panelbuild;
using namespace boxevents;
using platform::OptionButton;
using platform::TextBox;
using platform::UpDown;

AddCropPanel::AddCropPanel(const PanelContext& context, QWidget* parent)
    : ModePanel(RenameMode::AddCrop, QStringLiteral("frmAddCrop"), context, parent)
{
    auto* a = makeFrame(rules(), 0, QStringLiteral("      Add"), this, &optAdd, QStringLiteral("optAdd"));
    auto* c = makeFrame(rules(), 1, QStringLiteral("      Crop"), this, &optCrop, QStringLiteral("optCrop"));
    setOptionPair(optAdd, optCrop);
    txtAdd = named(new TextBox(a), QStringLiteral("txtAdd"));
    txtAddPos = numberBox(a, QStringLiteral("txtAddPos"), QStringLiteral("0"), 3);
    UpDownAdd = named(new UpDown(txtAddPos, 0, 999, a), QStringLiteral("UpDownAdd"));
    cmdAddGetPosition = pictureButton(a, QStringLiteral("cmdAddGetPosition"), QStyle::SP_FileDialogContentsView,
                                      QStringLiteral("Open visual assist window..."));
    // Each Beginning / End pair is a group of its own.
    auto* addEnds = new QWidget(a);
    optAddBeginning = named(new OptionButton(QStringLiteral("Beginning"), addEnds), QStringLiteral("optAddBeginning"));
    optAddEnding = named(new OptionButton(QStringLiteral("End of filename."), addEnds), QStringLiteral("optAddEnding"));
    auto* ae = new QHBoxLayout(addEnds);
    ae->setContentsMargins(0, 0, 0, 0);
    ae->addWidget(label(QStringLiteral("from"), addEnds));
    ae->addWidget(optAddBeginning);
    ae->addWidget(optAddEnding);
    ae->addStretch(1);
    auto* av = new QVBoxLayout(a);
    av->setContentsMargins(6, 12, 6, 2);
    av->setSpacing(1);
    // The label stands beside the box: under it, the two frames would not fit
    // the panel with this desktop's font metrics.
    auto* insertRow = new QHBoxLayout;
    insertRow->addWidget(label(QStringLiteral("Insert..."), a));
    insertRow->addWidget(txtAdd, 1);
    av->addLayout(insertRow);
    av->addLayout(row({label(QStringLiteral("at Pos"), a), txtAddPos, UpDownAdd, cmdAddGetPosition}));
    av->addWidget(addEnds);

    txtCropNumber = numberBox(c, QStringLiteral("txtCropNumber"), QStringLiteral("1"), 3);
    UpDownCrop1 = named(new UpDown(txtCropNumber, 1, 999, c), QStringLiteral("UpDownCrop1"));
    txtCropPos = numberBox(c, QStringLiteral("txtCropPos"), QStringLiteral("0"), 3);
    UpDownCrop2 = named(new UpDown(txtCropPos, 0, 999, c), QStringLiteral("UpDownCrop2"));
    cmdCropGetPosition = pictureButton(c, QStringLiteral("cmdCropGetPosition"), QStyle::SP_FileDialogContentsView,
                                       QStringLiteral("Open visual assist window..."));
    auto* cropEnds = new QWidget(c);
    optCropBeginning =
        named(new OptionButton(QStringLiteral("Beginning"), cropEnds), QStringLiteral("optCropBeginning"));
    optCropEnding =
        named(new OptionButton(QStringLiteral("End of filename."), cropEnds), QStringLiteral("optCropEnding"));
    auto* ce = new QHBoxLayout(cropEnds);
    ce->setContentsMargins(0, 0, 0, 0);
    ce->addWidget(label(QStringLiteral("from"), cropEnds));
    ce->addWidget(optCropBeginning);
    ce->addWidget(optCropEnding);
    ce->addStretch(1);
    for (QToolButton* b : {cmdAddGetPosition, cmdCropGetPosition})
        b->setFixedSize(22, 20);
    auto* cv = new QVBoxLayout(c);
    cv->setContentsMargins(6, 12, 6, 2);
    cv->setSpacing(1);
    cv->addLayout(
        row({label(QStringLiteral("Remove"), c), txtCropNumber, UpDownCrop1, label(QStringLiteral("char(s)"), c)}));
    cv->addLayout(row({label(QStringLiteral("at Pos"), c), txtCropPos, UpDownCrop2, cmdCropGetPosition}));
    cv->addWidget(cropEnds);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(2);
    v->addWidget(a);
    v->addWidget(c);
    auto* tip = label(QStringLiteral("Tip:   Toggle 'Process Extension'\nto change 'End of filename'"), this);
    smallerFont(tip);
    v->addWidget(tip);
    v->addStretch(1);
    optAdd->setChecked(true);
    optAddBeginning->setChecked(true);
    optCropBeginning->setChecked(true);

    // Handlers.
    for (OptionButton* o : {optAdd, optCrop})
        onSelected(handlers(), o, [this] { emit subOptionChanged(); });
    for (OptionButton* o : {optAddBeginning, optAddEnding, optCropBeginning, optCropEnding})
        onSelected(handlers(), o, [this] { emit changed(); });
    rules().focusSelects(optAddBeginning, optAdd);
    rules().focusSelects(optAddEnding, optAdd);
    rules().focusSelects(optCropBeginning, optCrop);
    rules().focusSelects(optCropEnding, optCrop);
    onChange(handlers(), txtAdd, [this] { emit changed(); });
    rules().selectsOnFocus(txtAdd, optAdd);
    rules().selectsOnFocus(txtAddPos, optAdd);
    rules().selectsOnFocus(txtCropNumber, optCrop);
    rules().selectsOnFocus(txtCropPos, optCrop);
    rules().numberBox(txtAddPos, kAddPosRule, false);
    rules().numberBox(txtCropNumber, kCropNumberRule, false);
    rules().numberBox(txtCropPos, kCropPosRule, false);
    rules().spinnerSelects(UpDownAdd, optAdd);
    rules().spinnerSelects(UpDownCrop1, optCrop);
    rules().spinnerSelects(UpDownCrop2, optCrop);
    connect(cmdAddGetPosition, &QToolButton::clicked, handlers(), [this] { cmdAddGetPosition_Click(); });
    connect(cmdCropGetPosition, &QToolButton::clicked, handlers(), [this] { cmdCropGetPosition_Click(); });
}

void AddCropPanel::addBindings(SettingsBindings& b)
{
    using S = Settings;
    using O = RenameOptions;
    b.options({optAddBeginning, optAddEnding}, &S::optAddBegEnd, &O::addFromEnd);
    b.options({optCropBeginning, optCropEnding}, &S::optCropBegEnd, &O::cropFromEnd);
    b.text(txtAdd, &S::txtAdd, &O::addText);
    b.text(txtCropNumber, &S::txtCropNumber, &O::cropCount);
    b.text(txtAddPos, &S::txtAddPos, &O::addPos);
    b.text(txtCropPos, &S::txtCropPos, &O::cropPos);
    b.options({optAdd, optCrop}, &S::optAddCrop, &O::cropMode);
}

QWidget* AddCropPanel::focusFor(int subOption) const
{
    return subOption == 1 ? txtCropNumber : txtAdd;
}

void AddCropPanel::cmdAddGetPosition_Click()
{
    if (!ctx.pickerAvailable())
        return;
    ctx.picker.vaMode = optAddBeginning->isChecked() ? PickerMode::Position : PickerMode::PositionFromEnd;
    ctx.picker.vaPosition = pickerNumber(txtAddPos->text());
    emit pickerRequested();
    txtAddPos->setText(QString::number(ctx.picker.vaPosition));
    txtAdd->setFocus(Qt::OtherFocusReason);
}

void AddCropPanel::cmdCropGetPosition_Click()
{
    if (!ctx.pickerAvailable())
        return;
    ctx.picker.vaMode = optCropBeginning->isChecked() ? PickerMode::Selection : PickerMode::SelectionFromEnd;
    ctx.picker.vaLength = pickerNumber(txtCropNumber->text());
    ctx.picker.vaPosition = pickerNumber(txtCropPos->text());
    emit pickerRequested();
    txtCropPos->setText(QString::number(ctx.picker.vaPosition));
    txtCropNumber->setText(QString::number(ctx.picker.vaLength));
    txtCropNumber->setFocus(Qt::OtherFocusReason);
}
