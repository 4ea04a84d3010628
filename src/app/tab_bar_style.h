#pragma once

class QTabBar;

namespace tabulon::app {

// Gives the tabs of a bar the narrow padding of the desktop the window was
// drawn on, so that all ten tabs of the main window fit its 753 pixels side by
// side without scroll arrows.
void makeTabsNarrow(QTabBar* bar);

}  // namespace tabulon::app
