#pragma once

class QComboBox;

namespace tabulon::app {

// Keeps the port box's tooltips saying which device each COM name stands
// for: each entry's own, and the box's for the chosen one. They are read
// afresh whenever the pointer or the keyboard comes to the box, so an
// adapter plugged in meanwhile shows up.
void watchPortDevices(QComboBox* box);

// Puts the tooltips in place now, from Tabulon.ini in the working directory
// and the devices of this machine.
void showPortDevices(QComboBox* box);

}  // namespace tabulon::app
