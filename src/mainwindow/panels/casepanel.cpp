#include "mainwindow/panels/casepanel.h"
#include "mainwindow/panels/panelbuild.h"
#include "settings/bindings.h"

#include <QGridLayout>
#include <QVBoxLayout>

using namespace panelbuild;
using namespace boxevents;
using platform::CheckBox;
using platform::OptionButton;

CasePanel::CasePanel(const PanelContext& context, QWidget* parent)
    : ModePanel(RenameMode::Case, QStringLiteral("frmConvertCase"), context, parent)
{
    auto* name = makeFrame(rules(), 4, QStringLiteral("Filename"), this);
    auto* ext = makeFrame(rules(), 5, QStringLiteral("File Extension"), this);
    auto* exc = makeFrame(rules(), 6, QStringLiteral("Exceptions"), this);
    const char* nameCaps[] = {"No Change",        "Upper case", "Lower case", "Capitalize sentences",
                              "Capitalize words", "Invert",     "Random"};
    const char* extCaps[] = {"No Change", "Upper case", "Lower case", "Capitalize", "Invert", "Random"};
    auto* nv = new QVBoxLayout(name);
    nv->setContentsMargins(3, 14, 0, 4);
    nv->setSpacing(1);
    for (int i = 0; i < 7; ++i) {
        Case1[size_t(i)] =
            named(new OptionButton(QString::fromLatin1(nameCaps[i]), name), QStringLiteral("Case1_%1").arg(i));
        nv->addWidget(Case1[size_t(i)]);
    }
    auto* ev = new QVBoxLayout(ext);
    ev->setContentsMargins(6, 14, 6, 4);
    ev->setSpacing(1);
    for (int i = 0; i < 6; ++i) {
        Case2[size_t(i)] =
            named(new OptionButton(QString::fromLatin1(extCaps[i]), ext), QStringLiteral("Case2_%1").arg(i));
        ev->addWidget(Case2[size_t(i)]);
    }
    ev->addStretch(1);
    chkExceptionsEnabled =
        named(new CheckBox(QStringLiteral("Use Exceptions"), exc), QStringLiteral("chkExceptionsEnabled"));
    cmdExceptionsEdit = pictureButton(exc, QStringLiteral("cmdExceptionsEdit"), QStyle::SP_FileDialogDetailedView,
                                      QStringLiteral("Edit Exceptions..."));
    auto* xv = new QHBoxLayout(exc);
    xv->setContentsMargins(6, 14, 6, 4);
    xv->addWidget(chkExceptionsEnabled, 1);
    xv->addWidget(cmdExceptionsEdit);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(name, 0, 0);
    grid->addWidget(ext, 0, 1);
    grid->addWidget(exc, 1, 0, 1, 2);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    grid->setRowStretch(2, 1);
    Case1[4]->setChecked(true);
    Case2[2]->setChecked(true);

    // Handlers: an option that gets the focus on a hidden panel hands it on.
    auto options = [this](auto& group) {
        for (OptionButton* o : group) {
            onSelected(handlers(), o, [this] { emit changed(); });
            rules().focusSelects(o, nullptr);
        }
    };
    options(Case1);
    options(Case2);
    onClick(handlers(), chkExceptionsEnabled, [this] { emit changed(); });
    connect(cmdExceptionsEdit, &QToolButton::clicked, handlers(),
            [this] { emit settingsRequested(QStringLiteral("exceptions")); });
}

void CasePanel::addBindings(SettingsBindings& b)
{
    using S = Settings;
    using O = RenameOptions;
    b.options({Case1.begin(), Case1.end()}, &S::Case1, &O::nameCase);
    b.options({Case2.begin(), Case2.end()}, &S::Case2, &O::extCase);
    b.check(chkExceptionsEnabled, &S::chkExceptionsEnabled, &O::useExceptions);
}

QWidget* CasePanel::focusFor(int) const
{
    return nullptr;
}
