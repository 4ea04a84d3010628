#include "app/controls.h"

#include <QLabel>

namespace tabulon::app {

void setTextColor(QLabel* label, const QColor& color) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

}  // namespace tabulon::app
