#pragma once
#include <QRect>

// Where the growing controls of the main window go for an outer window size,
// everything in twips of the client area. The file-mode tab strip keeps its
// design corner; the rest of the window never moves.
struct FrameLayout {
    QRect tabStripFilemode; // the tab strip with its panel of lists
    QSize lists;            // lwDragDrop, TreeView and lwDirectory, each at its own corner
    int txtPathWidth = 0;
    int txtPatternLeft = 0;
};

inline constexpr int kFileModeLeft = 4560;
inline constexpr int kFileModeTop = 120;
inline constexpr int kPathLeft = 5805;

// A size smaller than the controls' margins gives zero, never a negative size.
FrameLayout frameLayout(int outerWidth, int outerHeight);

// How many rows an opened drop-down list shows when the edit field and the
// list together are `height` pixels tall; at least one.
int dropDownRows(int height, int fieldHeight, int rowHeight);

class QComboBox;
// The opened list of `combo` is as tall as `height` pixels minus its edit field.
void setComboDropHeight(int height, QComboBox* combo);

// An opened tag list (the arrow beside a format box) shows at least
// kTagListRows rows, all of them when fewer, and every caption whole.
inline constexpr int kTagListRows = 20;
void setTagListLook(QComboBox* combo);

// A geometry value as the 16-bit settings keep it.
qint16 clampTwips(qint64 twips);
