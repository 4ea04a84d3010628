#pragma once

#include <QColor>

class QLabel;

namespace tabulon::app {

void setTextColor(QLabel* label, const QColor& color);

}  // namespace tabulon::app
