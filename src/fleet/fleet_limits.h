#pragma once

#include <QString>
#include <optional>

namespace tabulon::fleet {

// What one register takes of the process's file descriptors while it runs:
// its line (a serial device or a serial server's socket), the wake-up
// descriptor of its thread's event loop, and one each for a trace and a
// file it writes.
inline constexpr int kDescriptorsPerRegister = 4;
// The program's own: standard streams, the fleet and table files, the
// report, the libraries' own.
inline constexpr int kDescriptorsOfTheProgram = 32;

// Whether `atOnce` registers fit the process's limit of open descriptors.
// The soft limit is raised toward the hard one first (1024 is a common soft
// limit; the hard one is often far above), so that the limit shows up here,
// before anything is sent, and not as ports that fail to open halfway. The
// refusal to tell when they still do not fit; nullopt when they do.
std::optional<QString> descriptorShortage(int atOnce);

}  // namespace tabulon::fleet
