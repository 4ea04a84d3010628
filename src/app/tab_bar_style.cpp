#include "app/tab_bar_style.h"

#include <QProxyStyle>
#include <QTabBar>

namespace tabulon::app {

namespace {

// 6 pixels either side of the caption.
constexpr int kTabPadding = 12;

class NarrowTabStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_TabBarTabHSpace) return kTabPadding;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

}  // namespace

void makeTabsNarrow(QTabBar* bar) {
    auto* style = new NarrowTabStyle;
    style->setParent(bar);
    bar->setStyle(style);
    bar->setUsesScrollButtons(false);
    bar->setElideMode(Qt::ElideNone);
}

}  // namespace tabulon::app
