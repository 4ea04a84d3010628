#pragma once

#include <QSize>
#include <QVector>
#include <array>

#include "catalogue/table_kind.h"

namespace tabulon::app {

// Where the main window's size-dependent controls go for an outer window size
// (FormCanResize). Widths and places come out of integer divisions that drop
// the remainder, so they match the window as the register engineers know it
// to the pixel.
struct MainWindowLayout {
    QSize outer;         // the accepted outer size, after the minimums
    int goodsGridWidth;  // StringGrid1
    // Column widths of each grid by table kind, the label column first.
    std::array<QVector<int>, kGridTableCount> columnWidths;
    // Top edges, in client coordinates, of the controls below the tabs.
    int connectionGroupTop;  // GroupBox1
    int progressTop;         // ProgressBar1
    int counterTop;          // Edit1
    int firstButtonRowTop;   // Button6, Button9, Button14
    int secondButtonRowTop;  // Button4, Button8, Button3, Button15
    int thirdButtonRowTop;   // Button1, Button2, Button16, Button10
};

MainWindowLayout mainWindowLayout(int outerWidth, int outerHeight);

// The outer size the layout is made for: the 769 × 511 client area inside a
// tool-window frame of 3 pixels at the sides and the bottom and a 22-pixel
// title bar. The rule is applied with this size whatever frame the window
// manager draws, so the window looks the same on every desktop.
QSize designedOuterSize();

}  // namespace tabulon::app
