#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

#include "sim/faults.h"
#include "sim/line_device.h"
#include "sim/tables.h"

namespace tabulon::sim {

// The register's side of the line. It reads the computer's bytes as they come
// and answers at once: a status line to DC1 DC1 and its address, ACK and a
// reply line to an intact frame while selected, nothing to anything else; DC3
// DC3 releases it.
class SimulatedRegister : public LineDevice {
public:
    explicit SimulatedRegister(Model model) : tables_(model) {}

    // The computer's bytes in; the register's answer to them out.
    QByteArray receive(QByteArrayView bytes) override;
    QByteArray takeLateOutput() override { return std::exchange(late_, QByteArray()); }

    // By default the register answers to every number 1..99; restricted, it
    // keeps quiet unless its own number is selected.
    void answerOnlyTo(std::optional<int> registerNumber) { onlyNumber_ = registerNumber; }

    Faults& faults() { return faults_; }
    RegisterTables& tables() { return tables_; }
    const RegisterTables& tables() const { return tables_; }
    Model model() const { return tables_.model(); }

    bool isSelected() const { return selected_; }
    // Every intact frame text it took, in order.
    const QList<QByteArray>& commands() const { return commands_; }
    void clearCommands() { commands_.clear(); }

    // The reply text to a command text, faults left out.
    QByteArray execute(QByteArrayView command);

    // Where it tells what it does, a line each, in the order it happens:
    // "selected: 02" when it answers its number, "command: W0;1;..." for
    // each frame it takes (the text as Windows-1251 reads). Null: nowhere.
    void setJournal(QStringList* journal) { journal_ = journal; }

    // Lets a test decide the reply text of a command (nullopt: the usual reply).
    using ReplyScript = std::function<std::optional<QByteArray>(QByteArrayView command)>;
    void scriptReplies(ReplyScript script) { script_ = std::move(script); }

private:
    enum class State { Idle, Dc1, Dc1Dc1, AddressDigit, Frame, CheckHigh, CheckLow };

    void take(std::uint8_t byte, QByteArray& out);
    void selected(int number, QByteArray& out);
    void frame(QByteArray& out);
    QByteArray statusLine();
    QByteArray replyLine(QByteArray text);

    RegisterTables tables_;
    Faults faults_;
    std::optional<int> onlyNumber_;
    ReplyScript script_;

    State state_ = State::Idle;
    std::uint8_t previous_ = 0;
    std::uint8_t tens_ = 0;
    int number_ = 0;
    bool selected_ = false;
    QByteArray frameText_;
    QByteArray frameCheck_;
    QList<QByteArray> commands_;
    QByteArray late_;
    QStringList* journal_ = nullptr;
};

// LF, text, CR and the two check bytes, as a register sends a line.
QByteArray registerLine(QByteArrayView text);

}  // namespace tabulon::sim
