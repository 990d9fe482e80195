#include "settings/boxrules.h"

#include "settings/editorrules.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace {

class BoxFilter : public QObject {
public:
    BoxFilter(QLineEdit* box) : QObject(box), box_(box) { box->installEventFilter(this); }
    bool selectOnFocus = false;
    bool digitsOnly = false;
    std::function<void()> leave;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        // A dying box still gets its focus-out, after its line-edit part is
        // gone: the rules and the leave handler are for a whole box only.
        if (!qobject_cast<QLineEdit*>(watched))
            return false;
        switch (e->type()) {
        case QEvent::FocusIn:
            if (selectOnFocus)
                box_->selectAll();
            break;
        case QEvent::FocusOut:
            if (leave)
                leave();
            break;
        case QEvent::KeyPress:
            return digitsOnly && !typedKeyPasses(static_cast<QKeyEvent*>(e));
        default:
            break;
        }
        return false;
    }

private:
    // Only a printable character typed without Ctrl or Meta is a typed
    // character; the editing keys (select all, copy, paste, undo), the arrows,
    // Tab, Delete, Backspace and Enter work as in any line box.
    static bool typedKeyPasses(const QKeyEvent* e)
    {
        if (e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
            return true;
        const QString text = e->text();
        if (text.isEmpty() || !text.at(0).isPrint())
            return true;
        const char16_t c = text.at(0).unicode();
        return c >= u'0' && c <= u'9';
    }

    QLineEdit* box_;
};

BoxFilter* filterOf(QLineEdit* box)
{
    for (QObject* child : box->children())
        if (auto* f = dynamic_cast<BoxFilter*>(child))
            return f;
    return new BoxFilter(box);
}

class BatchTextValidator : public QValidator {
public:
    BatchTextValidator(bool isFind, QObject* parent) : QValidator(parent), isFind_(isFind) {}
    State validate(QString& input, int&) const override
    {
        return batchTextStorable(input, isFind_) ? Acceptable : Invalid;
    }

private:
    bool isFind_;
};

} // namespace

void selectAllOnFocus(QLineEdit* box)
{
    filterOf(box)->selectOnFocus = true;
}

void makeDigitBox(QLineEdit* box, int maxLength, std::function<void()> leave)
{
    BoxFilter* f = filterOf(box);
    f->digitsOnly = true;
    f->leave = std::move(leave);
    box->setMaxLength(maxLength);
    // Pasting goes around the key filter.
    box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
}

void makeBatchTextBox(QLineEdit* box, bool isFind)
{
    box->setValidator(new BatchTextValidator(isFind, box));
}
