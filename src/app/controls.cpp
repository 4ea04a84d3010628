#include "app/controls.h"

#include <QLabel>

namespace tabulon::app {

void setTextColor(QLabel* label, const QColor& color) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

void applyEnabled(const EnabledStates& states) {
    for (const bool enabled : {false, true})
        for (const auto& [control, state] : states)
            if (state == enabled) control->setEnabled(enabled);
}

}  // namespace tabulon::app
