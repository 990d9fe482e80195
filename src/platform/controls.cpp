#include "platform/controls.h"
#include "platform/tabbutton.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace platform {

CheckBox::CheckBox(const QString& caption, QWidget* parent, bool threeState) : QCheckBox(caption, parent)
{
    setTristate(threeState);
    connect(this, &QCheckBox::stateChanged, this, &CheckBox::valueClicked);
}

int CheckBox::value() const
{
    switch (checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

void CheckBox::setValue(int v)
{
    if (v == 2 && !isTristate())
        setTristate(true);
    setCheckState(v == 1 ? Qt::Checked : v == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

void CheckBox::nextCheckState()
{
    setCheckState(checkState() == Qt::Unchecked ? Qt::Checked : Qt::Unchecked);
}

OptionButton::OptionButton(const QString& caption, QWidget* parent) : QRadioButton(caption, parent)
{
    connect(this, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            emit selected();
    });
}

TextBox::TextBox(QWidget* parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, &TextBox::changed);
}

void TextBox::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
    emit gotFocus();
}

void TextBox::focusOutEvent(QFocusEvent* e)
{
    QLineEdit::focusOutEvent(e);
    emit lostFocus();
}

void TextBox::keyPressEvent(QKeyEvent* e)
{
    e->ignore();
    emit keyPress(e);
    if (e->isAccepted())
        return;
    e->accept();
    QLineEdit::keyPressEvent(e);
}

UpDown::UpDown(QLineEdit* buddy, int min, int max, QWidget* parent)
    : QWidget(parent), buddy_(buddy), min_(min), max_(max), up_(new QToolButton(this)), down_(new QToolButton(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up_, down_}) {
        b->setFixedSize(15, 10);
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(b);
    }
    connect(up_, &QToolButton::clicked, this, [this] { step(1); });
    connect(down_, &QToolButton::clicked, this, [this] { step(-1); });
    setFixedSize(15, 20);
}

void UpDown::step(int delta)
{
    // The spinner steps the number the box's text begins with.
    const QString t = buddy_->text().trimmed();
    qsizetype n = 0;
    if (n < t.size() && (t[n] == QLatin1Char('-') || t[n] == QLatin1Char('+')))
        ++n;
    while (n < t.size() && t[n].isDigit())
        ++n;
    const long long current = t.left(n).toLongLong();
    const long long next = std::clamp<long long>(current + delta, min_, max_);
    buddy_->setText(QString::number(next));
}

TabStrip::TabStrip(QWidget* parent, int perRow) : QWidget(parent), perRow_(perRow), rows_(new QVBoxLayout(this))
{
    rows_->setContentsMargins(0, 0, 0, 0);
    rows_->setSpacing(0);
}

void TabStrip::addKeyedTab(const QString& key, const QString& caption)
{
    auto* b = new TabButton(this);
    b->setText(caption); // "&&" shows as one "&"
    b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    b->setObjectName(QStringLiteral("tab_") + key);
    const int index = int(tabs_.size());
    tabs_.push_back(b);
    keys_.push_back(key);
    // Each row takes the widths its own captions need; rows fill from the
    // bottom up, so the first tabs sit next to the body.
    if (index % perRow_ == 0) {
        auto* row = new QHBoxLayout;
        row->setSpacing(0);
        rows_->insertLayout(0, row);
    }
    auto* row = static_cast<QHBoxLayout*>(rows_->itemAt(0)->layout());
    const int width =
        b->fontMetrics().horizontalAdvance(b->text().replace(QLatin1String("&&"), QLatin1String("&"))) + 12;
    b->setMinimumWidth(width);
    row->addWidget(b, width);
    connect(b, &QToolButton::clicked, this, [this, index] { setCurrentIndex(index); });
    if (current_ < 0)
        setCurrentIndex(0);
}

void TabStrip::setCurrentIndex(int index)
{
    if (index < 0 || index >= count())
        return;
    for (int i = 0; i < count(); ++i)
        tabs_[size_t(i)]->setChecked(i == index);
    // The row of the selected tab comes to the front, next to the panel, as a
    // tab control with several rows does.
    const int rowCount = rows_->count();
    for (int row = 0; row < rowCount - 1; ++row) {
        QLayout* layout = rows_->itemAt(row)->layout();
        if (layout && layout->indexOf(tabs_[size_t(index)]) >= 0) {
            rows_->addItem(rows_->takeAt(row));
            break;
        }
    }
    if (index == current_)
        return;
    current_ = index;
    emit currentChanged(index);
}

QString TabStrip::selectedKey() const
{
    return current_ < 0 ? QString() : keys_[current_];
}

int TabStrip::indexOfKey(const QString& key) const
{
    return int(keys_.indexOf(key));
}

void TabStrip::selectKey(const QString& key)
{
    setCurrentIndex(indexOfKey(key));
}

StatusPanels::StatusPanels(QWidget* parent)
    : QStatusBar(parent), main_(new QLabel(this)), preview_(new QLabel(this)), selected_(new QLabel(this))
{
    main_->setObjectName(QStringLiteral("main"));
    preview_->setObjectName(QStringLiteral("preview"));
    selected_->setObjectName(QStringLiteral("selected"));
    setSizeGripEnabled(true);
    for (QLabel* l : {main_, preview_, selected_}) {
        l->setFrameShape(QFrame::StyledPanel);
        l->setFrameShadow(QFrame::Sunken);
        l->setMinimumWidth(60);
    }
    addWidget(main_, 2);
    addWidget(preview_, 1);
    addWidget(selected_, 1);
}

void StatusPanels::setPanelText(const QString& key, const QString& text)
{
    if (key == QLatin1String("main"))
        main_->setText(text);
    else if (key == QLatin1String("preview"))
        preview_->setText(text);
    else if (key == QLatin1String("selected"))
        selected_->setText(text);
    else
        return;
    emit panelTextSet(key, text);
}

QString StatusPanels::panelText(const QString& key) const
{
    if (key == QLatin1String("main"))
        return main_->text();
    if (key == QLatin1String("preview"))
        return preview_->text();
    if (key == QLatin1String("selected"))
        return selected_->text();
    return {};
}

} // namespace platform
