#include "sim/simulated_bus.h"

namespace tabulon::sim {

SimulatedBus::SimulatedBus(Model model, const QList<int>& numbers) {
    for (int number : numbers) {
        registers_.push_back(std::make_unique<SimulatedRegister>(model));
        registers_.back()->answerOnlyTo(number);
    }
}

QByteArray SimulatedBus::receive(QByteArrayView bytes) {
    // A byte at a time through all of them: what they do is kept in the
    // order it happened on the line.
    QByteArray out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        for (const auto& ecr : registers_) out += ecr->receive(bytes.sliced(i, 1));
    }
    return out;
}

QByteArray SimulatedBus::takeLateOutput() {
    QByteArray late;
    for (const auto& ecr : registers_) late += ecr->takeLateOutput();
    return late;
}

std::unique_ptr<SimulatedBus> busFromOptions(const SimOptions& options, QStringList* journal) {
    const QList<int> numbers = options.bus.isEmpty() ? QList<int>{0} : options.bus;
    auto bus = std::make_unique<SimulatedBus>(options.model, numbers);
    for (int index = 0; index < bus->size(); ++index) {
        bus->at(index).faults() = options.faults;
        if (options.bus.isEmpty()) bus->at(index).answerOnlyTo(options.onlyRegister);
        bus->at(index).setJournal(journal);
    }
    return bus;
}

}  // namespace tabulon::sim
