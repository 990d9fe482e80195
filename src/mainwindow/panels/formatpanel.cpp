#include "mainwindow/panels/formatpanel.h"
#include "mainwindow/framelayout.h"
#include "mainwindow/panels/panelbuild.h"
#include "mainwindow/taglists.h"
#include "settings/bindings.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QVBoxLayout>

using namespace panelbuild;
using namespace boxevents;
using platform::CheckBox;
using platform::TextBox;

FormatPanel::FormatPanel(const PanelContext& context, QWidget* parent)
    : ModePanel(RenameMode::Format, QStringLiteral("frmFormat"), context, parent)
{
    auto* f = makeFrame(rules(), 8, QStringLiteral("      Format Filename"), this, &chkFormatTab_Format,
                        QStringLiteral("chkFormatTab_Format"));
    auto* d = makeFrame(rules(), 9, QStringLiteral("      Filetype Detection"), this, &chkFormatTab_Detect,
                        QStringLiteral("chkFormatTab_Detect"));
    setOptionPair(chkFormatTab_Format, chkFormatTab_Detect);
    txtFormat = named(new TextBox(f), QStringLiteral("txtFormat"));
    txtFormat->setText(QStringLiteral("<NAME> (<SIZE>).<EXT>"));
    cmbFormat = named(new QComboBox(f), QStringLiteral("cmbFormat"));
    txtFormatParts = named(new TextBox(f), QStringLiteral("txtFormatParts"));
    txtFormatParts->setText(QStringLiteral("<%1> - <%2>"));
    cmbFormatParts = named(new QComboBox(f), QStringLiteral("cmbFormatParts"));
    for (QComboBox* c : {cmbFormat, cmbFormatParts})
        c->setFixedWidth(20);
    chkFormatAllMustBeAvailable = named(new CheckBox(QStringLiteral("Only rename if all used tags are available."), f),
                                        QStringLiteral("chkFormatAllMustBeAvailable"));
    chkFormatAllMustBeAvailable->setValue(1);
    smallerFont(chkFormatAllMustBeAvailable);
    auto* fv = new QVBoxLayout(f);
    fv->setContentsMargins(6, 14, 6, 4);
    fv->setSpacing(2);
    auto* formatRow = new QHBoxLayout;
    formatRow->setSpacing(0);
    formatRow->addWidget(txtFormat, 1);
    formatRow->addWidget(cmbFormat);
    fv->addLayout(formatRow);
    auto* partsRow = new QHBoxLayout;
    partsRow->setSpacing(0);
    partsRow->addWidget(label(QStringLiteral("Define Parts:"), f));
    partsRow->addSpacing(4);
    partsRow->addWidget(txtFormatParts, 1);
    partsRow->addWidget(cmbFormatParts);
    fv->addLayout(partsRow);
    fv->addWidget(chkFormatAllMustBeAvailable);
    chkFileDetect_KeepExt =
        named(new CheckBox(QStringLiteral("Keep old extension"), d), QStringLiteral("chkFileDetect_KeepExt"));
    chkFileDetect_TryText =
        named(new CheckBox(QStringLiteral("Text/Html"), d), QStringLiteral("chkFileDetect_TryText"));
    chkFileDetect_TryMp3 = named(new CheckBox(QStringLiteral("Mp3"), d), QStringLiteral("chkFileDetect_TryMp3"));
    auto* dv = new QVBoxLayout(d);
    dv->setContentsMargins(6, 14, 6, 4);
    dv->setSpacing(2);
    dv->addWidget(chkFileDetect_KeepExt);
    auto* advanced = label(QStringLiteral("If simple detection fails, try advanced detection for:"), d);
    advanced->setWordWrap(true);
    dv->addWidget(advanced);
    dv->addLayout(row({chkFileDetect_TryText, chkFileDetect_TryMp3}));
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(f);
    v->addWidget(d);
    v->addStretch(1);
    chkFormatTab_Format->setChecked(true);
    for (const char* item : kFormatTagItems)
        cmbFormat->addItem(QString::fromLatin1(item));
    for (int i = 1; i <= 9; ++i)
        cmbFormatParts->addItem(QStringLiteral("Part %1 <%%1>").arg(i));
    for (QComboBox* c : {cmbFormat, cmbFormatParts}) {
        c->setCurrentIndex(-1);
        setTagListLook(c);
    }

    // Handlers.
    onSelected(handlers(), chkFormatTab_Format, [this] { emit subOptionChanged(); });
    onSelected(handlers(), chkFormatTab_Detect, [this] { emit subOptionChanged(); });
    onClick(handlers(), chkFormatAllMustBeAvailable, [this] {
        chkFormatTab_Format->select();
        emit changed();
    });
    for (CheckBox* c : {chkFileDetect_KeepExt, chkFileDetect_TryText, chkFileDetect_TryMp3})
        onClick(handlers(), c, [this] {
            chkFormatTab_Detect->select();
            emit changed();
        });
    for (TextBox* t : {txtFormat, txtFormatParts}) {
        onChange(handlers(), t, [this] {
            chkFormatTab_Format->select();
            emit changed();
        });
        rules().keepsCaret(t);
    }
    connect(cmbFormat, &QComboBox::activated, handlers(), [this] { rules().insertTagAtCaret(cmbFormat, txtFormat); });
    connect(cmbFormatParts, &QComboBox::activated, handlers(),
            [this] { rules().insertTagAtCaret(cmbFormatParts, txtFormatParts); });
}

void FormatPanel::addBindings(SettingsBindings& b)
{
    using S = Settings;
    using O = RenameOptions;
    b.text(txtFormat, &S::txtFormat, &O::formatText);
    b.text(txtFormatParts, &S::txtFormatParts, &O::formatParts);
    b.check(chkFormatAllMustBeAvailable, &S::chkFormatAllMustBeAvailable, &O::allTagsRequired);
    b.check(chkFileDetect_TryMp3, &S::chkFileDetect_TryMp3, &O::detectTryMp3);
    b.check(chkFileDetect_TryText, &S::chkFileDetect_TryText, &O::detectTryText);
    b.check(chkFileDetect_KeepExt, &S::chkFileDetect_KeepExt, &O::detectKeepExt);
    b.options({chkFormatTab_Format, chkFormatTab_Detect}, &S::chkFormatTab, &O::detectMode);
}

QWidget* FormatPanel::focusFor(int subOption) const
{
    return subOption == 1 ? static_cast<QWidget*>(chkFileDetect_KeepExt) : txtFormat;
}

// File-type detection works on files only, on the whole name.
ListEffect FormatPanel::effectOf(int subOption) const
{
    if (subOption == 1)
        return {ListEffect::Dirs::FilesOnly, ListEffect::Process::Disable};
    return {ListEffect::Dirs::Allow, ListEffect::Process::Enable};
}
