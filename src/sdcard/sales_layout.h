#pragma once

#include <array>

#include "sdcard/sales_table.h"

namespace tabulon::sdcard {

// The sales window's size rule. Sizes are outer sizes of the window, frame
// included; widths of the grid's columns 0 (the row number) to 16.
using SalesColumnWidths = std::array<int, kSalesColumns>;

constexpr int kSalesOuterWidth = 924;
constexpr int kSalesOuterHeight = 706;

// Until the user first changes the window's size.
constexpr SalesColumnWidths kDesignedColumnWidths{40, 40, 75, 51, 64, 40, 40, 40, 40,
                                                  11, 57, 40, 40, 40, 40, 40, 40};

struct SalesLayout {
    int width;  // the accepted outer size
    int height;
    int gridWidth;
    SalesColumnWidths columns;
};

// The layout for an outer size the user asked for. A width below 920 jumps
// to 931 and a height below 380 to 380; the grid and its columns take their
// shares of the accepted width. Everything else stays where it was designed.
SalesLayout salesLayout(int width, int height);

}  // namespace tabulon::sdcard
