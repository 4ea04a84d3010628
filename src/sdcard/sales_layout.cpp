#include "sdcard/sales_layout.h"

namespace tabulon::sdcard {

namespace {
constexpr std::array<int, kSalesColumns> kColumnShares{30, 46, 135, 51, 55, 40, 40, 40, 27,
                                                       24, 70, 24,  57, 57, 57, 57, 55};
}

SalesLayout salesLayout(int width, int height) {
    SalesLayout layout{};
    layout.width = width < 920 ? 931 : width;
    layout.height = height < 380 ? 380 : height;
    layout.gridWidth = layout.width * 577 / 601;
    for (int column = 0; column < kSalesColumns; ++column)
        layout.columns[column] = layout.gridWidth * kColumnShares[column] / 899;
    return layout;
}

}  // namespace tabulon::sdcard
