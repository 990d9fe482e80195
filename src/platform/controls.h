#pragma once
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <vector>

// Stand-ins for the classic desktop controls with the semantics the program's
// handlers rely on: a check box value 0/1/2 whose Click also fires when code
// changes the value, option buttons, text boxes with Change/GotFocus/LostFocus/
// KeyPress, spinner buttons, keyed tab strips and status panels. Each event is
// a signal, so any number of listeners (and QSignalSpy) can follow it.
namespace platform {

class CheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit CheckBox(const QString& caption, QWidget* parent = nullptr, bool threeState = false);
    // 0 unticked, 1 ticked, 2 grey.
    int value() const;
    void setValue(int v);

signals:
    // Every change of the value, by the user or by code.
    void valueClicked();

protected:
    // A user's click ticks an unticked box and unticks a ticked or grey one;
    // only code makes a box grey.
    void nextCheckState() override;
};

class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    explicit OptionButton(const QString& caption, QWidget* parent = nullptr);
    // -1 selected, 0 not.
    int value() const { return isChecked() ? -1 : 0; }
    void select() { setChecked(true); }

signals:
    // The button became selected, by the user or by code.
    void selected();
};

class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);

signals:
    // Every change of the text, by the user or by code.
    void changed();
    void gotFocus();
    void lostFocus();
    // The event arrives ignored; a listener that accepts it swallows the key.
    void keyPress(QKeyEvent* e);

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
};

// Two arrow buttons that step the number of a text box within a range.
class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QLineEdit* buddy, int min, int max, QWidget* parent = nullptr);
    int min() const { return min_; }
    int max() const { return max_; }
    void step(int delta);
    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

private:
    QLineEdit* buddy_;
    int min_, max_;
    QToolButton* up_;
    QToolButton* down_;
};

// A tab strip whose tabs carry keys; code compares keys, never indexes. Tabs
// wrap into rows of `perRow`, as a narrow strip with many tabs does.
class TabStrip : public QWidget {
    Q_OBJECT
public:
    explicit TabStrip(QWidget* parent = nullptr, int perRow = 8);
    void addKeyedTab(const QString& key, const QString& caption);
    QString selectedKey() const;
    // 1-based index, as stored in the settings.
    int selectedIndex() const { return current_ + 1; }
    int currentIndex() const { return current_; }
    void setCurrentIndex(int index);
    void selectKey(const QString& key);
    int indexOfKey(const QString& key) const;
    int count() const { return int(tabs_.size()); }
    // The caption as stored ("Find && Replace").
    QString tabCaption(int index) const
    {
        return index < 0 || index >= count() ? QString() : tabs_[size_t(index)]->text();
    }
    QAbstractButton* tabButton(int index) const { return tabs_[size_t(index)]; }

signals:
    void currentChanged(int index);

private:
    int perRow_;
    int current_ = -1;
    std::vector<QAbstractButton*> tabs_;
    QStringList keys_;
    QVBoxLayout* rows_;
};

// A status bar with three keyed panels: "main", "preview", "selected".
class StatusPanels : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusPanels(QWidget* parent = nullptr);
    void setPanelText(const QString& key, const QString& text);
    QString panelText(const QString& key) const;

signals:
    // Every text a panel is given, as the user sees it in turn.
    void panelTextSet(const QString& key, const QString& text);

private:
    QLabel* main_;
    QLabel* preview_;
    QLabel* selected_;
};

} // namespace platform
