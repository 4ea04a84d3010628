#pragma once

#include <QColor>
#include <utility>
#include <vector>

class QLabel;
class QWidget;

namespace tabulon::app {

void setTextColor(QLabel* label, const QColor& color);

// Controls and the enabled state each is to take.
using EnabledStates = std::vector<std::pair<QWidget*, bool>>;

// Turns the controls off before it turns any on: a control that loses the
// focus by being turned off hands it on to the next control that stays on,
// not to one that is only about to be turned on.
void applyEnabled(const EnabledStates& states);

}  // namespace tabulon::app
