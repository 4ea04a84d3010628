#include "sim/line_state.h"

// termios2 tells any speed, 57700 included; the classic termios only knows the
// standard rates. The kernel header clashes with <termios.h>, so this file
// keeps to the kernel's own definitions.
#if defined(__linux__)
#include <asm/ioctls.h>
#include <asm/termbits.h>
extern "C" int ioctl(int fd, unsigned long request, ...);
#endif

namespace tabulon::sim {

bool hearsLine(int speed, const std::optional<link::LineSettings>& state) {
    return speed == 0 || !state || state->baudRate == speed;
}

QString lineStateText(const link::LineSettings& state) {
    return QStringLiteral("%1 baud, %2%3%4")
        .arg(state.baudRate)
        .arg(state.dataBits)
        .arg(QChar::fromLatin1(state.parity))
        .arg(state.stopBits);
}

std::optional<link::LineSettings> lineState(int fd) {
#if defined(__linux__)
    struct termios2 settings {};
    if (ioctl(fd, TCGETS2, &settings) != 0) return std::nullopt;
    link::LineSettings state;
    state.baudRate = int(settings.c_ospeed);
    switch (settings.c_cflag & CSIZE) {
        case CS5:
            state.dataBits = 5;
            break;
        case CS6:
            state.dataBits = 6;
            break;
        case CS7:
            state.dataBits = 7;
            break;
        default:
            state.dataBits = 8;
            break;
    }
    state.parity = !(settings.c_cflag & PARENB) ? 'N' : (settings.c_cflag & PARODD) ? 'O' : 'E';
    state.stopBits = (settings.c_cflag & CSTOPB) ? 2 : 1;
    return state;
#else
    (void)fd;
    return std::nullopt;
#endif
}

bool setBaudRate(int fd, int baud) {
#if defined(__linux__)
    struct termios2 settings {};
    if (baud <= 0 || ioctl(fd, TCGETS2, &settings) != 0) return false;
    settings.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
    settings.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    settings.c_ispeed = speed_t(baud);
    settings.c_ospeed = speed_t(baud);
    return ioctl(fd, TCSETS2, &settings) == 0;
#else
    (void)fd;
    (void)baud;
    return false;
#endif
}

}  // namespace tabulon::sim
