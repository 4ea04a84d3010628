#pragma once

#include <QString>

#include "link/register_link.h"

namespace tabulon::ports {

// What COM<number> stands for now: [Ports] of Tabulon.ini in the working
// directory of this moment, then the devices of this machine. Empty when
// nothing does.
QString comDevice(int number);

// The device a port as the person names it opens: a COM name through
// comDevice(), anything else (a device path, a serial server's address) as
// it is.
QString deviceOf(const QString& named);

// The link's resolver, the one the window, the command line, the fleet and
// the scan use: with no name (the window's port box) or a COM name, the
// device of the number OpenPort is given; anything else (a device path, a
// serial server's address) as it is. It looks up when the port opens, so a
// settings file changed or an adapter plugged in meanwhile counts.
link::DeviceResolver portResolver(const QString& named = QString());

}  // namespace tabulon::ports
