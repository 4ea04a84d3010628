#pragma once

#include <QStringList>
#include <memory>
#include <vector>

#include "sim/line_device.h"
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

}  // namespace tabulon::sim
