#pragma once

#include <QStringList>
#include <memory>
#include <vector>

#include "sim/line_device.h"
#include "sim/sim_options.h"
#include "sim/sim_register.h"

namespace tabulon::sim {

// Several registers on one line, each answering to its own number and
// holding its own tables: every byte the computer sends reaches them all,
// and only the one it selected answers.
class SimulatedBus : public LineDevice {
public:
    // One register of `model` for each number.
    SimulatedBus(Model model, const QList<int>& numbers);

    QByteArray receive(QByteArrayView bytes) override;
    QByteArray takeLateOutput() override;

    SimulatedRegister& at(int index) { return *registers_[size_t(index)]; }
    int size() const { return int(registers_.size()); }

private:
    std::vector<std::unique_ptr<SimulatedRegister>> registers_;
};

// The register (answering to --register's number, or to every one) or the
// --bus of them that `options` ask for, with the faults, telling what they do
// into `journal` (null: nowhere).
std::unique_ptr<SimulatedBus> busFromOptions(const SimOptions& options, QStringList* journal);

}  // namespace tabulon::sim
