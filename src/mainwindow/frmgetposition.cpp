#include "mainwindow/frmgetposition.h"

#include "engine/textutil.h"
#include "platform/twips.h"

#include <algorithm>
#include <cmath>
#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

PickerCaret initialCaret(PickerMode mode, int n, int position, int length)
{
    int start = position;
    if (mode == PickerMode::PositionFromEnd)
        start = n - position;
    else if (mode == PickerMode::SelectionFromEnd)
        start = n - position - length;
    // The line edit refuses a caret outside its text; a position past the
    // name is pinned to the nearer end instead.
    start = std::clamp(start, 0, std::max(n, 0));
    PickerCaret c;
    c.start = start;
    if (mode == PickerMode::Selection || mode == PickerMode::SelectionFromEnd)
        c.length = std::clamp(length, 0, n - start);
    return c;
}

PickerReading readCaret(PickerMode mode, int n, int s, int k)
{
    PickerReading r;
    const QString pos = QStringLiteral("Current position: ");
    const QString len = QStringLiteral("\nSelection length: ") + QString::number(k);
    switch (mode) {
    case PickerMode::Position:
        r.position = s;
        r.label = pos + QString::number(s);
        break;
    case PickerMode::Selection:
        r.position = s;
        r.length = k;
        r.label = pos + QString::number(s) + len;
        break;
    case PickerMode::Text:
        r.showsLabel = false;
        break;
    case PickerMode::PositionFromEnd:
        r.position = n - s;
        r.label = pos + QLatin1Char('-') + QString::number(r.position);
        break;
    case PickerMode::SelectionFromEnd:
        r.position = n - (s + k);
        r.length = k;
        r.label =
            (r.position == 0 ? pos + QLatin1Char('0') : pos + QLatin1Char('-') + QString::number(r.position)) + len;
        break;
    }
    return r;
}

QString pickerInstruction(PickerMode mode)
{
    switch (mode) {
    case PickerMode::Position:
    case PickerMode::PositionFromEnd:
        return QStringLiteral("Place cursor on desired position:");
    case PickerMode::Selection:
    case PickerMode::SelectionFromEnd:
        return QStringLiteral("Select text to set position and length:");
    case PickerMode::Text:
        return QStringLiteral("Select Text:");
    }
    return {};
}

qint16 pickerNumber(const QString& text)
{
    // A pasted text may hold any number; the picker needs one it can place.
    const double d = leadingNumber(text);
    if (!std::isfinite(d))
        return 0;
    return toInt16(std::clamp(d, -32768.0, 32767.0));
}

FrmGetPosition::FrmGetPosition(PickerValues& values, const QStringList& samples, int currentSample, QWidget* parent)
    : QDialog(parent), va_(values)
{
    setObjectName(QStringLiteral("frmGetPosition"));
    setWindowTitle(QStringLiteral("Visual Assist"));
    setModal(true);
    lblInfo = new QLabel(this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    cmbFiles = new QComboBox(this);
    cmbFiles->setObjectName(QStringLiteral("cmbFiles"));
    cmbFiles->setEditable(true);
    // Nothing typed in the name box is kept, and nothing is completed: an
    // inline completion takes Enter for itself while the selection runs to
    // the end of the name, so OK would never see it.
    cmbFiles->setInsertPolicy(QComboBox::NoInsert);
    cmbFiles->setCompleter(nullptr);
    cmbFiles->setMinimumWidth(platform::toPixels(4095));
    lblCurrentPos = new QLabel(this);
    lblCurrentPos->setObjectName(QStringLiteral("lblCurrentPos"));
    // Room for the longest reading, so no number is ever cut off.
    const QFontMetrics fm = lblCurrentPos->fontMetrics();
    lblCurrentPos->setMinimumSize(fm.horizontalAdvance(QStringLiteral("Current position: -00000")) + 4,
                                  2 * fm.height());
    lblCurrentPos->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdOK->setAutoDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblCurrentPos, 1);
    bottom->addWidget(cmdOK, 0, Qt::AlignTop);
    bottom->addWidget(cmdCancel, 0, Qt::AlignTop);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(8, 6, 8, 6);
    v->setSpacing(4);
    v->addWidget(lblInfo);
    v->addWidget(cmbFiles);
    v->addLayout(bottom);
    setFixedSize(sizeHint().expandedTo(QSize(platform::toPixels(4335), platform::toPixels(1350))));

    cmbFiles->installEventFilter(this);
    cmbFiles->lineEdit()->installEventFilter(this);
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        okPressed_ = true;
        accept();
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    // Load: the samples, the saved values and the instruction.
    cmbFiles->addItems(samples);
    if (currentSample >= 0 && currentSample < samples.size())
        cmbFiles->setEditText(samples[currentSample]);
    else if (!samples.isEmpty())
        cmbFiles->setEditText(samples.front()); // rows but no current row: the first one
    savedPosition_ = va_.vaPosition;
    savedLength_ = va_.vaLength;
    savedText_ = va_.vaText;
    if (va_.vaMode != PickerMode::Text)
        lblInfo->setText(pickerInstruction(va_.vaMode));

    posTimer = new QTimer(this);
    posTimer->setInterval(10);
    connect(posTimer, &QTimer::timeout, this, [this] { posTimer_Timer(); });
    posTimer->start();
}

bool FrmGetPosition::event(QEvent* e)
{
    const bool r = QDialog::event(e);
    if (e->type() == QEvent::WindowActivate && firstActivation_)
        Form_Activate();
    return r;
}

void FrmGetPosition::Form_Activate()
{
    okPressed_ = false;
    cmbFiles->setFocus(Qt::OtherFocusReason);
    QLineEdit* edit = cmbFiles->lineEdit();
    const QString text = edit->text();
    const PickerCaret c = initialCaret(va_.vaMode, int(charCount(text)), va_.vaPosition, va_.vaLength);
    const int from = int(unitOffset(text, c.start));
    if (c.length > 0)
        edit->setSelection(from, int(unitOffset(text, c.start + c.length)) - from);
    else
        edit->setCursorPosition(from);
    if (va_.vaMode == PickerMode::Text)
        lblInfo->setText(pickerInstruction(PickerMode::Text));
    firstActivation_ = false;
}

bool FrmGetPosition::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut) {
        QWidget* f = QApplication::focusWidget();
        nameBoxFocused_ = f && (f == cmbFiles || f == cmbFiles->lineEdit());
    }
    return QDialog::eventFilter(watched, e);
}

void FrmGetPosition::posTimer_Timer()
{
    if (!nameBoxFocused_)
        return;
    QLineEdit* edit = cmbFiles->lineEdit();
    const QString text = edit->text();
    // The line edit counts UTF-16 units; names count characters.
    const int startUnits = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    const int s = int(charCount(QStringView(text).left(startUnits)));
    const QString selected = edit->selectedText();
    const int k = int(charCount(selected));
    const PickerReading r = readCaret(va_.vaMode, int(charCount(text)), s, k);
    if (va_.vaMode == PickerMode::Text) {
        va_.vaText = selected;
        return;
    }
    if (lblCurrentPos->text() != r.label)
        lblCurrentPos->setText(r.label);
    va_.vaPosition = qint16(std::clamp(r.position, -32768, 32767));
    if (va_.vaMode == PickerMode::Selection || va_.vaMode == PickerMode::SelectionFromEnd)
        va_.vaLength = qint16(std::clamp(r.length, -32768, 32767));
}

void FrmGetPosition::done(int result)
{
    posTimer->stop();
    if (!okPressed_) {
        va_.vaPosition = savedPosition_;
        va_.vaLength = savedLength_;
        va_.vaText = savedText_;
    }
    QDialog::done(result);
}
