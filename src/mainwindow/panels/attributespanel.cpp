#include "mainwindow/panels/attributespanel.h"
#include "mainwindow/appstate.h"
#include "mainwindow/panels/panelbuild.h"
#include "platform/uiservice.h"
#include "settings/bindings.h"

#include <QGridLayout>
#include <QVBoxLayout>

using namespace panelbuild;
using namespace boxevents;
using platform::CheckBox;

AttributesPanel::AttributesPanel(const PanelContext& context, QWidget* parent)
    : ModePanel(RenameMode::Attrib, QStringLiteral("frmSetAttributes"), context, parent)
{
    auto* a = makeFrame(rules(), 2, QStringLiteral("      Attributes"), this, &optAttrib_Attributes,
                        QStringLiteral("optAttrib_Attributes"));
    auto* d = makeFrame(rules(), 3, QStringLiteral("      Date && Time"), this, &optAttrib_Date,
                        QStringLiteral("optAttrib_Date"));
    setOptionPair(optAttrib_Attributes, optAttrib_Date);
    chkR = named(new CheckBox(QStringLiteral("Write Protect"), a, true), QStringLiteral("chkR"));
    chkH = named(new CheckBox(QStringLiteral("Hidden"), a, true), QStringLiteral("chkH"));
    chkS = named(new CheckBox(QStringLiteral("System"), a, true), QStringLiteral("chkS"));
    chkA = named(new CheckBox(QStringLiteral("Archive"), a, true), QStringLiteral("chkA"));
    auto* ag = new QGridLayout(a);
    ag->setContentsMargins(6, 14, 6, 4);
    ag->addWidget(chkR, 0, 0);
    ag->addWidget(chkH, 0, 1);
    ag->addWidget(chkS, 1, 0);
    ag->addWidget(chkA, 1, 1);
    for (CheckBox* c : {chkR, chkH, chkS, chkA})
        c->setValue(2);

    chkDateCreated = named(new CheckBox(QStringLiteral("Created"), d), QStringLiteral("chkDateCreated"));
    chkDateAccessed = named(new CheckBox(QStringLiteral("Accessed"), d), QStringLiteral("chkDateAccessed"));
    chkDateModified = named(new CheckBox(QStringLiteral("Modified"), d), QStringLiteral("chkDateModified"));
    chkDateDate = named(new CheckBox(QStringLiteral("New Date:"), d), QStringLiteral("chkDateDate"));
    chkDateTime = named(new CheckBox(QStringLiteral("New Time:"), d), QStringLiteral("chkDateTime"));
    const QDateTime now = ctx.ui.now();
    dtDate = named(new QDateEdit(now.date(), d), QStringLiteral("dtDate"));
    dtDate->setCalendarPopup(true);
    dtTime = named(new QTimeEdit(now.time(), d), QStringLiteral("dtTime"));
    dtTime->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    cmdGetCurrentDate = pictureButton(d, QStringLiteral("cmdGetCurrentDate"), QStyle::SP_BrowserReload,
                                      QStringLiteral("Get Current Date"));
    cmdGetCurrentTime = pictureButton(d, QStringLiteral("cmdGetCurrentTime"), QStyle::SP_BrowserReload,
                                      QStringLiteral("Get Current Time"));
    chkDateModified->setValue(1);
    chkDateDate->setValue(1);
    chkDateTime->setValue(1);
    auto* dv = new QVBoxLayout(d);
    dv->setContentsMargins(6, 14, 6, 4);
    dv->setSpacing(2);
    dv->addWidget(label(QStringLiteral("Change:"), d));
    dv->addLayout(row({chkDateCreated, chkDateAccessed, chkDateModified}));
    auto* dateRow = new QGridLayout;
    dateRow->addWidget(chkDateDate, 0, 0);
    dateRow->addWidget(dtDate, 0, 1);
    dateRow->addWidget(cmdGetCurrentDate, 0, 2);
    dateRow->addWidget(chkDateTime, 1, 0);
    dateRow->addWidget(dtTime, 1, 1);
    dateRow->addWidget(cmdGetCurrentTime, 1, 2);
    dateRow->setColumnStretch(1, 1);
    dv->addLayout(dateRow);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(a);
    v->addWidget(d);
    v->addStretch(1);
    optAttrib_Attributes->setChecked(true);

    // Handlers.
    onClick(handlers(), chkR, [this] { attributeBox_Click(chkR, lastAttrValueR_); });
    onClick(handlers(), chkH, [this] { attributeBox_Click(chkH, lastAttrValueH_); });
    onClick(handlers(), chkS, [this] { attributeBox_Click(chkS, lastAttrValueS_); });
    onClick(handlers(), chkA, [this] { attributeBox_Click(chkA, lastAttrValueA_); });
    auto datesChosen = [this] {
        optAttrib_Date->select();
        emit changed();
    };
    for (CheckBox* c : {chkDateCreated, chkDateAccessed, chkDateModified})
        onClick(handlers(), c, datesChosen);
    connect(dtDate, &QDateEdit::dateChanged, handlers(), datesChosen);
    connect(dtTime, &QTimeEdit::timeChanged, handlers(), datesChosen);
    onClick(handlers(), chkDateDate, [this] { datePairRule(chkDateDate, chkDateTime, dtDate); });
    onClick(handlers(), chkDateTime, [this] { datePairRule(chkDateTime, chkDateDate, dtTime); });
    connect(cmdGetCurrentDate, &QToolButton::clicked, handlers(), [this] { cmdGetCurrentDate_Click(); });
    connect(cmdGetCurrentTime, &QToolButton::clicked, handlers(), [this] { cmdGetCurrentTime_Click(); });
    onSelected(handlers(), optAttrib_Attributes, [this] { emit subOptionChanged(); });
    onSelected(handlers(), optAttrib_Date, [this] { emit subOptionChanged(); });
}

void AttributesPanel::addBindings(SettingsBindings& b)
{
    using S = Settings;
    using O = RenameOptions;
    b.check(chkR, &S::chkR, &O::attrReadOnly);
    b.check(chkH, &S::chkH, &O::attrHidden);
    b.check(chkS, &S::chkS, &O::attrSystem);
    b.check(chkA, &S::chkA, &O::attrArchive);
    b.date(dtDate, &S::dtDate, &O::dateText);
    b.time(dtTime, &S::dtTime, &O::timeText);
    b.check(chkDateCreated, &S::chkDateCreated, &O::setCreated);
    b.check(chkDateAccessed, &S::chkDateAccessed, &O::setAccessed);
    b.check(chkDateModified, &S::chkDateModified, &O::setModified);
    b.check(chkDateDate, &S::chkDateDate, &O::useDate);
    b.check(chkDateTime, &S::chkDateTime, &O::useTime);
    b.options({optAttrib_Attributes, optAttrib_Date}, &S::optAttrib, &O::dateMode);
}

QWidget* AttributesPanel::focusFor(int) const
{
    return chkR;
}

// File dates are changed on files only.
ListEffect AttributesPanel::effectOf(int subOption) const
{
    return {subOption == 1 ? ListEffect::Dirs::FilesOnly : ListEffect::Dirs::Allow, ListEffect::Process::Keep};
}

// A user's click turns a grey box unticked and toggles the others; a box that
// was ticked before turns grey here, so clicks cycle grey, unticked, ticked.
void AttributesPanel::attributeBox_Click(CheckBox* box, int& lastValue)
{
    optAttrib_Attributes->select();
    if (lastValue == 1)
        box->setValue(2); // runs this handler once more, nested
    lastValue = box->value();
    emit changed();
}

void AttributesPanel::datePairRule(CheckBox* own, CheckBox* other, QWidget* picker)
{
    optAttrib_Date->select();
    emit changed();
    if (own->value() == 1) {
        picker->setEnabled(true);
        return;
    }
    if (other->value() == 0)
        other->setValue(1); // its own rule enables its picker
    picker->setEnabled(false);
}

// Today is the user's choice now, also where the picker showed it in place of
// a stored date that could not be read: the save writes it.
void AttributesPanel::cmdGetCurrentDate_Click()
{
    optAttrib_Date->select();
    ctx.state.settings.dtDateUnread.reset();
    dtDate->setDate(ctx.ui.now().date());
    dtDate->setFocus(Qt::OtherFocusReason);
}

void AttributesPanel::cmdGetCurrentTime_Click()
{
    optAttrib_Date->select();
    ctx.state.settings.dtTimeUnread.reset();
    dtTime->setTime(ctx.ui.now().time());
    dtTime->setFocus(Qt::OtherFocusReason);
}
