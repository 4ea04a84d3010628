#pragma once

#include <QList>
#include <QString>
#include <functional>

#include "fleet/fleet_file.h"

namespace tabulon::fleet {

// The registers on one line: worked one after another by one link, in the
// order of the file.
struct PortGroup {
    QString port;          // as the first of them names it
    QList<int> registers;  // indices into the fleet's register list
};

// Groups the registers by the line they hang on, lines in the order their
// first register comes in the file. `lineOf` says which line a port name
// stands for (COM3 and the device it is mapped to are one line); two
// registers share a line when it gives them the same text.
QList<PortGroup> planFleet(const QList<FleetRegister>& registers,
                           const std::function<QString(const QString& port)>& lineOf);

// Where two registers of the file are one register: the same number on one
// line under two port names (a device and a link to it, COM3 and the device
// it is mapped to). Worked twice, it would be counted twice and the register
// meant by the second line left out. "line 5: register 1 on /dev/kassa is
// already on line 2 (front): both ports are /dev/ttyUSB0"; empty when none.
QString sameRegisterTwice(const QList<FleetRegister>& registers,
                          const std::function<QString(const QString& port)>& lineOf);

// Runs work(0) to work(count - 1), each on a thread of its own, never more
// than `jobs` at once (every one at once when `jobs` is 0 or more than
// `count`), taking them in order as threads come free; with fewer when the
// system makes fewer threads. Returns when all have returned.
void runAtMost(int count, int jobs, const std::function<void(int index)>& work);

}  // namespace tabulon::fleet
