#pragma once
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

// What the picker points at in one opening.
enum class PickerMode : qint16 {
    Position = 0,        // caret, counted from the start
    Selection = 1,       // selection start and length, from the start
    Text = 2,            // the selected text
    PositionFromEnd = 3, // caret, counted from the end
    SelectionFromEnd = 4 // end of the selection and its length, from the end
};

// The values the picker and its opening buttons exchange. They live as long
// as the main window, so a button that leaves one alone keeps its last value.
struct PickerValues {
    PickerMode vaMode = PickerMode::Position;
    qint16 vaPosition = 0;
    qint16 vaLength = 0;
    QString vaText;
};

// Where the caret and selection start on the first activation. Positions
// count characters of the shown text of `n` characters; the result always
// lies inside it, since a position counted from the end can exceed the name.
struct PickerCaret {
    int start = 0;
    int length = 0;
};
PickerCaret initialCaret(PickerMode mode, int n, int position, int length);

// One reading of the name box: caret (selection start) `s`, selection length
// `k`, text of `n` characters.
struct PickerReading {
    int position = 0;
    int length = 0;
    bool showsLabel = true; // mode 2 leaves the label alone
    QString label;
};
PickerReading readCaret(PickerMode mode, int n, int s, int k);

// The instruction above the name box.
QString pickerInstruction(PickerMode mode);

// The number a position box holds, as the picker takes it: its leading
// number, within the 16-bit range ("007" is 7, a text is 0).
qint16 pickerNumber(const QString& text);

// The modal position picker "Visual Assist": shows one sample per listed row
// (the part the rename modes work on), follows the caret or selection in it,
// and leaves the picked values in `values` after "OK" or the incoming ones
// after any other close.
class FrmGetPosition : public QDialog {
    Q_OBJECT
public:
    FrmGetPosition(PickerValues& values, const QStringList& samples, int currentSample, QWidget* parent = nullptr);

    QLabel* lblInfo;
    QComboBox* cmbFiles;
    QLabel* lblCurrentPos;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    QTimer* posTimer;

    void posTimer_Timer();
    bool nameBoxFocused() const { return nameBoxFocused_; }

    void done(int result) override;

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Form_Activate();
    PickerValues& va_;
    bool nameBoxFocused_ = false;
    bool okPressed_ = false;
    bool firstActivation_ = true;
    qint16 savedPosition_;
    qint16 savedLength_;
    QString savedText_;
};
