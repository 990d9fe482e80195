#include "mainwindow/panels/mp3panel.h"
#include "mainwindow/framelayout.h"
#include "mainwindow/panels/panelbuild.h"
#include "mainwindow/taglists.h"
#include "settings/bindings.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QVBoxLayout>

using namespace panelbuild;
using namespace boxevents;
using platform::CheckBox;
using platform::TextBox;

Mp3Panel::Mp3Panel(const PanelContext& context, QWidget* parent)
    : ModePanel(RenameMode::Mp3, QStringLiteral("frmMp3Tag"), context, parent)
{
    auto* f = makeFrame(rules(), 10, QStringLiteral("Rename Mp3's Based On Content"), this);
    txtMp3Format = named(new TextBox(f), QStringLiteral("txtMp3Format"));
    txtMp3Format->setText(QStringLiteral("<ARTIST> - <TITLE>"));
    cmbAddMp3Tag = named(new QComboBox(f), QStringLiteral("cmbAddMp3Tag"));
    cmbAddMp3Tag->setFixedWidth(20);
    chkMp3AddExtension =
        named(new CheckBox(QStringLiteral("Add .mp3 to end of filename."), f), QStringLiteral("chkMp3AddExtension"));
    chkMp3OnlyFilledTags = named(new CheckBox(QStringLiteral("Only rename if all used tags are available."), f),
                                 QStringLiteral("chkMp3OnlyFilledTags"));
    chkMp3OnlyMp3Files = named(new CheckBox(QStringLiteral("Only process files with .mp3 extension."), f),
                               QStringLiteral("chkMp3OnlyMp3Files"));
    chkMp3UseID3v2 = named(new CheckBox(QStringLiteral("Use ID3v2 If Available"), f), QStringLiteral("chkMp3UseID3v2"));
    auto* fv = new QVBoxLayout(f);
    fv->setContentsMargins(6, 14, 6, 4);
    fv->setSpacing(2);
    auto* patternRow = new QHBoxLayout;
    patternRow->setSpacing(0);
    patternRow->addWidget(label(QStringLiteral("Pattern:"), f));
    patternRow->addSpacing(4);
    patternRow->addWidget(txtMp3Format, 1);
    patternRow->addWidget(cmbAddMp3Tag);
    fv->addLayout(patternRow);
    for (CheckBox* c : {chkMp3AddExtension, chkMp3OnlyFilledTags, chkMp3OnlyMp3Files, chkMp3UseID3v2}) {
        c->setValue(1);
        smallerFont(c);
        fv->addWidget(c);
    }
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(f);
    v->addWidget(label(QStringLiteral("Tip:  Use the 'Move to SubDir' tag to\norganize your Mp3 collection!"), this));
    v->addStretch(1);
    for (const char* item : kMp3TagItems)
        cmbAddMp3Tag->addItem(QString::fromLatin1(item));
    cmbAddMp3Tag->setCurrentIndex(-1);
    setTagListLook(cmbAddMp3Tag);

    // Handlers.
    onChange(handlers(), txtMp3Format, [this] { emit changed(); });
    rules().keepsCaret(txtMp3Format);
    onKey(handlers(), txtMp3Format, [this](QKeyEvent* e) {
        // Enter goes to "Rename!" without starting the run.
        if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && enterTarget_ && enterTarget_->isEnabled()) {
            enterTarget_->setFocus(Qt::OtherFocusReason);
            return false;
        }
        return true;
    });
    for (CheckBox* c : {chkMp3AddExtension, chkMp3OnlyFilledTags, chkMp3OnlyMp3Files, chkMp3UseID3v2})
        onClick(handlers(), c, [this] { emit changed(); });
    connect(cmbAddMp3Tag, &QComboBox::activated, handlers(),
            [this] { rules().insertTagAtCaret(cmbAddMp3Tag, txtMp3Format); });
}

void Mp3Panel::addBindings(SettingsBindings& b)
{
    using S = Settings;
    using O = RenameOptions;
    b.text(txtMp3Format, &S::txtMp3Format, &O::mp3Format);
    b.check(chkMp3AddExtension, &S::chkMp3AddExtension, &O::mp3AddExtension);
    b.check(chkMp3OnlyFilledTags, &S::chkMp3OnlyFilledTags, &O::mp3OnlyFilledTags);
    b.check(chkMp3OnlyMp3Files, &S::chkMp3OnlyMp3Files, &O::mp3OnlyMp3Files);
    b.check(chkMp3UseID3v2, &S::chkMp3UseID3v2, &O::mp3UseId3v2);
}

QWidget* Mp3Panel::focusFor(int) const
{
    return txtMp3Format;
}
