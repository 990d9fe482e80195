#include "settings/frmbatchreplaceadd.h"
#include "platform/twips.h"

#include "settings/boxrules.h"
#include "settings/editorrules.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

FrmBatchReplaceAdd::FrmBatchReplaceAdd(bool editMode, const QStringList& row, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmBatchReplaceAdd"));
    setWindowTitle(QStringLiteral("Batch Replace"));
    setModal(true);
    const auto named = [](auto* w, const char* name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };
    txtFind = named(new QLineEdit(this), "txtFind");
    txtReplace = named(new QLineEdit(this), "txtReplace");
    chkCaseSensitive = named(new platform::CheckBox(QStringLiteral("Case Sensitive"), this), "chkCaseSensitive");
    chkReplaceMode = named(new platform::CheckBox(QStringLiteral("Swap Mode"), this), "chkReplaceMode");
    txtReplaceStart = named(new QLineEdit(QStringLiteral("0"), this), "txtReplaceStart");
    txtReplaceCount = named(new QLineEdit(QStringLiteral("0"), this), "txtReplaceCount");
    cmdOK = named(new QPushButton(QStringLiteral("OK"), this), "cmdOK");
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel");
    cmdOK->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Look for..."), this), 0, 0, 1, 4);
    grid->addWidget(txtFind, 1, 0, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("... and replace with:"), this), 2, 0, 1, 4);
    grid->addWidget(txtReplace, 3, 0, 1, 4);
    grid->addWidget(chkCaseSensitive, 4, 0, 1, 2);
    grid->addWidget(chkReplaceMode, 4, 2, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Start:"), this), 5, 0);
    grid->addWidget(txtReplaceStart, 5, 1);
    grid->addWidget(new QLabel(QStringLiteral("Count:"), this), 5, 2);
    grid->addWidget(txtReplaceCount, 5, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 6, 0, 1, 4);
    setMinimumWidth(platform::toPixels(4800));

    for (QLineEdit* box : {txtFind, txtReplace, txtReplaceStart, txtReplaceCount})
        selectAllOnFocus(box);
    makeBatchTextBox(txtFind, true);
    makeBatchTextBox(txtReplace, false);
    // The leave handlers hold their box, not the dialog: a box loses its focus
    // also while the dialog closes and dies.
    for (QLineEdit* box : {txtReplaceStart, txtReplaceCount})
        makeDigitBox(box, 3, [box] { box->setText(countAfterLeave(box->text())); });

    connect(txtFind, &QLineEdit::textChanged, this, [this] { txtFind_Change(); });
    connect(txtReplace, &QLineEdit::textChanged, this, [this] { txtFind_Change(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    if (editMode) {
        setWindowTitle(QStringLiteral("Edit Batch Replace Item"));
        const auto cell = [&](int i) { return i < row.size() ? row[i] : QString(); };
        txtFind->setText(cell(0));
        txtReplace->setText(cell(1));
        chkCaseSensitive->setValue(cell(2) == QLatin1String("x") ? 1 : 0);
        chkReplaceMode->setValue(cell(3) == QLatin1String("x") ? 1 : 0);
        txtReplaceStart->setText(cell(4));
        txtReplaceCount->setText(cell(5));
        txtFind_Change();
    } else {
        cmdOK->setEnabled(false);
        setWindowTitle(QStringLiteral("Add Batch Replace Item"));
    }
}

bool FrmBatchReplaceAdd::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        txtFind->setFocus();
    return QDialog::event(e);
}

void FrmBatchReplaceAdd::txtFind_Change()
{
    // A text that could not be stored (one brought in from elsewhere) is refused too.
    cmdOK->setEnabled(!txtFind->text().isEmpty() && batchTextStorable(txtFind->text(), true) &&
                      batchTextStorable(txtReplace->text(), false));
}

void FrmBatchReplaceAdd::cmdOK_Click()
{
    if (!cmdOK->isEnabled())
        return;
    // Enter does not move the focus, so the boxes' leave rule may not have run yet.
    txtReplaceStart->setText(countAfterLeave(txtReplaceStart->text()));
    txtReplaceCount->setText(countAfterLeave(txtReplaceCount->text()));
    const QString x = QStringLiteral("x");
    row_ = {txtFind->text(),
            txtReplace->text(),
            chkCaseSensitive->value() == 1 ? x : QString(),
            chkReplaceMode->value() == 1 ? x : QString(),
            txtReplaceStart->text(),
            txtReplaceCount->text()};
    accept();
}
