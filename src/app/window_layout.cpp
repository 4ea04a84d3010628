#include "app/window_layout.h"

#include <algorithm>

namespace tabulon::app {

namespace {

constexpr int kMinimumWidth = 601;
constexpr int kMinimumHeight = 380;
constexpr int kClientWidth = 769;
constexpr int kClientHeight = 511;
constexpr int kFrameWidth = 6;    // both sides
constexpr int kFrameHeight = 25;  // title bar and bottom border

// Each column's share of the goods grid's width, in 580ths.
const std::array<QVector<int>, kGridTableCount> kColumnShares{{
    {30, 46, 135, 51, 55, 40, 40, 40, 27, 24, 70},
    {60, 100, 270, 100},
    {40, 86, 107, 194, 65, 65},
    {40, 500},
    {90, 450},
}};

}  // namespace

QSize designedOuterSize() {
    return {kClientWidth + kFrameWidth, kClientHeight + kFrameHeight};
}

MainWindowLayout mainWindowLayout(int outerWidth, int outerHeight) {
    const int width = std::max(outerWidth, kMinimumWidth);
    const int height = std::max(outerHeight, kMinimumHeight);
    MainWindowLayout layout{};
    layout.outer = {width, height};
    layout.goodsGridWidth = width * 577 / 601;
    for (int kind = 0; kind < kGridTableCount; ++kind)
        for (int share : kColumnShares[kind])
            layout.columnWidths[kind] << layout.goodsGridWidth * share / 580;

    // The rows of buttons, the progress bar and the counter hang from the
    // bottom edge as the rule says. The connection group would too, at
    // height - 177, but with the title bar counted in the outer height that
    // puts its lower 9 pixels below the client area, and counting the client
    // area alone it would cover the coding-interval group. It keeps the place
    // it was drawn at instead: 6 pixels above the client area's bottom.
    const int clientHeight = height - kFrameHeight;
    layout.connectionGroupTop = clientHeight - 167;
    layout.progressTop = height - 172;
    layout.counterTop = height - 140;
    layout.firstButtonRowTop = height - 138;
    layout.secondButtonRowTop = height - 108;
    layout.thirdButtonRowTop = height - 56;
    return layout;
}

}  // namespace tabulon::app
