#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "link/network_address.h"
#include "sim/faults.h"
#include "sim/model.h"

namespace tabulon::sim {

// What tabulon-sim is asked to be.
struct SimOptions {
    Model model = Model::Neon;
    std::optional<int> onlyRegister;  // answer to every number unless set
    // Set: a register for each of these numbers on the one line, each with
    // its own tables (the faults go for all of them).
    QList<int> bus;
    QString device;  // empty: open a pseudo-terminal
    // Set: serve these TCP ports instead, each a line of its own (a register
    // or a bus of them, with its own tables and faults), port 0 for one the
    // system picks.
    QList<link::NetworkAddress> listen;
    int speed = 0;  // nonzero: ignore the line unless set to this speed
    int pace = 0;   // nonzero: bytes come and go no faster than this many baud carry them
    Faults faults;
    // Set: a bad line from this seed (garbled, lost, doubled, stray and late
    // bytes, silences), on top of the faults.
    std::optional<std::uint64_t> chaosSeed;
    bool log = false;
    // --version wherever the word stands; --help when the options have no mistake.
    bool help = false;
    bool version = false;
};

struct ParsedSimOptions {
    std::optional<SimOptions> options;  // nullopt: `error` says what is wrong
    QString error;
};

// The arguments after the program name.
ParsedSimOptions parseSimOptions(const QStringList& arguments);
QString simUsage();

}  // namespace tabulon::sim
