#include "mainwindow/panels/enumpanel.h"
#include "mainwindow/framelayout.h"
#include "mainwindow/panels/panelbuild.h"
#include "mainwindow/taglists.h"
#include "settings/bindings.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QPalette>
#include <QVBoxLayout>

using namespace panelbuild;
using namespace boxevents;
using platform::CheckBox;
using platform::TextBox;
using platform::UpDown;

EnumPanel::EnumPanel(const PanelContext& context, QWidget* parent)
    : ModePanel(RenameMode::Enum, QStringLiteral("frmEnum"), context, parent)
{
    auto* e = makeFrame(rules(), 11, QStringLiteral("      Sequential Renaming"), this, &chkEnumTab_Enum,
                        QStringLiteral("chkEnumTab_Enum"));
    auto* n = makeFrame(rules(), 12, QStringLiteral("      Normalize Numbers"), this, &chkEnumTab_Normalize,
                        QStringLiteral("chkEnumTab_Normalize"));
    setOptionPair(chkEnumTab_Enum, chkEnumTab_Normalize);
    txtEnumFormat = named(new TextBox(e), QStringLiteral("txtEnumFormat"));
    txtEnumFormat->setText(QStringLiteral("<ENUM>_<FULLNAME>"));
    cmbEnumFormat = named(new QComboBox(e), QStringLiteral("cmbEnumFormat"));
    cmbEnumFormat->setFixedWidth(20);
    txtEnumStart = numberBox(e, QStringLiteral("txtEnumStart"), QStringLiteral("1"), 9);
    txtEnumStep = numberBox(e, QStringLiteral("txtEnumStep"), QStringLiteral("1"), 6);
    txtEnumZeros = numberBox(e, QStringLiteral("txtEnumZeros"), QStringLiteral("2"), 2);
    UpDownEnum1 = named(new UpDown(txtEnumStart, -99999, 99999, e), QStringLiteral("UpDownEnum1"));
    UpDownEnum2 = named(new UpDown(txtEnumStep, -99999, 99999, e), QStringLiteral("UpDownEnum2"));
    UpDownEnum3 = named(new UpDown(txtEnumZeros, 0, 32, e), QStringLiteral("UpDownEnum3"));
    chkEnumResetBetweenDirs =
        named(new CheckBox(QStringLiteral("Reset Each Dir."), e), QStringLiteral("chkEnumResetBetweenDirs"));
    chkEnumAutoZeros = named(new CheckBox(QStringLiteral("Auto"), e), QStringLiteral("chkEnumAutoZeros"));
    chkEnumAutoZeros->setValue(1);
    smallerFont(chkEnumResetBetweenDirs);
    auto* ev = new QVBoxLayout(e);
    ev->setContentsMargins(6, 14, 6, 4);
    ev->setSpacing(2);
    auto* formatRow = new QHBoxLayout;
    formatRow->setSpacing(0);
    formatRow->addWidget(label(QStringLiteral("Format:"), e));
    formatRow->addSpacing(4);
    formatRow->addWidget(txtEnumFormat, 1);
    formatRow->addWidget(cmbEnumFormat);
    ev->addLayout(formatRow);
    ev->addLayout(row({label(QStringLiteral("Start Value:"), e), txtEnumStart, UpDownEnum1, chkEnumResetBetweenDirs}));
    ev->addLayout(row({label(QStringLiteral("Step:"), e), txtEnumStep, UpDownEnum2}));
    ev->addLayout(row({label(QStringLiteral("Zero Padding:"), e), txtEnumZeros, UpDownEnum3,
                       label(QStringLiteral("Digits"), e), chkEnumAutoZeros}));
    txtNormalize = numberBox(n, QStringLiteral("txtNormalize"), QStringLiteral("2"), 2);
    UpDownNormalize = named(new UpDown(txtNormalize, 0, 99, n), QStringLiteral("UpDownNormalize"));
    auto* nv = new QVBoxLayout(n);
    nv->setContentsMargins(6, 14, 6, 4);
    nv->addLayout(row({label(QStringLiteral("Zero Padding:"), n), txtNormalize, UpDownNormalize,
                       label(QStringLiteral("Digits"), n)}));
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(e);
    v->addWidget(n);
    v->addStretch(1);
    chkEnumTab_Enum->setChecked(true);
    for (const char* item : kEnumFormatItems)
        cmbEnumFormat->addItem(QString::fromLatin1(item));
    cmbEnumFormat->setCurrentIndex(-1);
    setTagListLook(cmbEnumFormat);

    // Handlers.
    onGotFocus(handlers(), txtEnumFormat, [this] { chkEnumTab_Enum->select(); });
    rules().keepsCaret(txtEnumFormat);
    onChange(handlers(), txtEnumFormat, [this] {
        chkEnumTab_Enum->select();
        emit changed();
    });
    for (TextBox* t : {txtEnumStart, txtEnumStep, txtEnumZeros})
        rules().selectsOnFocus(t, chkEnumTab_Enum);
    rules().selectsOnFocus(txtNormalize, chkEnumTab_Normalize);
    rules().numberBox(txtEnumStart, kEnumStartRule, true);
    rules().numberBox(txtEnumStep, kEnumStepRule, true);
    rules().numberBox(txtEnumZeros, kEnumZerosRule, false);
    rules().numberBox(txtNormalize, kNormalizeRule, false);
    rules().focusSelects(chkEnumAutoZeros, chkEnumTab_Enum);
    onClick(handlers(), chkEnumAutoZeros, [this] { chkEnumAutoZeros_Click(); });
    onClick(handlers(), chkEnumResetBetweenDirs, [this] { chkEnumResetBetweenDirs_Click(); });
    onSelected(handlers(), chkEnumTab_Enum, [this] { emit subOptionChanged(); });
    onSelected(handlers(), chkEnumTab_Normalize, [this] { emit subOptionChanged(); });
    for (UpDown* u : {UpDownEnum1, UpDownEnum2, UpDownEnum3})
        rules().spinnerSelects(u, chkEnumTab_Enum);
    rules().spinnerSelects(UpDownNormalize, chkEnumTab_Normalize);
    connect(cmbEnumFormat, &QComboBox::activated, handlers(),
            [this] { rules().insertTagAtCaret(cmbEnumFormat, txtEnumFormat); });
    // The digits box looks as the "Auto" tick the panel was built with says;
    // a stored value that differs runs the handler again.
    chkEnumAutoZeros_Click();
}

void EnumPanel::addBindings(SettingsBindings& b)
{
    using S = Settings;
    using O = RenameOptions;
    b.text(txtNormalize, &S::txtNormalize, &O::normalizeWidth);
    b.text(txtEnumFormat, &S::txtEnumFormat, &O::enumFormat);
    b.text(txtEnumZeros, &S::txtEnumZeros, &O::enumDigits);
    b.text(txtEnumStart, &S::txtEnumStart, &O::enumStart);
    b.text(txtEnumStep, &S::txtEnumStep, &O::enumStep);
    b.check(chkEnumAutoZeros, &S::chkEnumAutoZeros, &O::enumAutoDigits);
    b.check(chkEnumResetBetweenDirs, &S::chkEnumResetBetweenDirs, &O::enumResetPerDir);
    b.options({chkEnumTab_Enum, chkEnumTab_Normalize}, &S::chkEnumTab, &O::normalizeMode);
}

QWidget* EnumPanel::focusFor(int subOption) const
{
    return subOption == 1 ? txtNormalize : txtEnumFormat;
}

// A pattern works on the whole name; padding numbers works on either part.
ListEffect EnumPanel::effectOf(int subOption) const
{
    return {ListEffect::Dirs::Keep, subOption == 1 ? ListEffect::Process::Enable : ListEffect::Process::Disable};
}

void EnumPanel::chkEnumAutoZeros_Click()
{
    // Ticked: the digits come from the number of entries; the box keeps its
    // value and shows the button-face colour. Its spinner stays usable.
    const bool automatic = chkEnumAutoZeros->value() == 1;
    txtEnumZeros->setEnabled(!automatic);
    QPalette p = txtEnumZeros->palette();
    const QPalette app = QApplication::palette();
    const QColor base =
        automatic ? app.color(QPalette::Active, QPalette::Button) : app.color(QPalette::Active, QPalette::Base);
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(g, QPalette::Base, base);
    txtEnumZeros->setPalette(p);
    emit changed();
}

// Automatic digits would count a directory's entries while the numbers start
// again in each: the two are never ticked together.
void EnumPanel::chkEnumResetBetweenDirs_Click()
{
    if (chkEnumResetBetweenDirs->value() == 1) {
        chkEnumAutoZeros->setValue(0);
        chkEnumAutoZeros->setEnabled(false);
    } else {
        chkEnumAutoZeros->setEnabled(true);
    }
    emit changed();
}
