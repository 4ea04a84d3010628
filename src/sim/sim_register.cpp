#include "sim/sim_register.h"

#include "link/frame.h"
#include "link/line_bytes.h"
#include "text/cp1251.h"

namespace tabulon::sim {

namespace {

using namespace tabulon::link;

// A frame longer than this is line noise, not a command.
constexpr qsizetype kMaxFrameText = 1024;
constexpr qsizetype kOverLongReply = 300;

bool isDigit(std::uint8_t byte) {
    return byte >= '0' && byte <= '9';
}

QByteArray modelTag(Model model) {
    switch (model) {
        case Model::DatecsMp550T:
            return "MP-550T";
        case Model::DatecsMp50Junior:
            return "MP-50";
        case Model::Neon:
            return "NEON";
    }
    return {};
}

std::optional<int> number(QByteArrayView digits) {
    if (digits.isEmpty() || digits.size() > 9) return std::nullopt;
    int value = 0;
    for (char c : digits) {
        if (!isDigit(std::uint8_t(c))) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The command as a register with failing memory keeps it: the record's first
// character comes out as "#" (an empty first field gains one).
QByteArray altered(QByteArray command) {
    const qsizetype tableEnd = command.indexOf(';');
    const qsizetype recordEnd = tableEnd < 0 ? -1 : command.indexOf(';', tableEnd + 1);
    if (recordEnd < 0) return command;
    const qsizetype data = recordEnd + 1;
    if (data < command.size() && command[data] != ';') {
        command[data] = '#';
    } else {
        command.insert(data, '#');
    }
    return command;
}

QByteArray refusalText(Refusal refusal) {
    return 'E' + QByteArray::number(int(refusal)) + ';';
}

}  // namespace

QByteArray registerLine(QByteArrayView text) {
    return BuildFrame(text);
}

QByteArray SimulatedRegister::receive(QByteArrayView bytes) {
    QByteArray out;
    for (char c : bytes) take(std::uint8_t(c), out);
    return out;
}

void SimulatedRegister::take(std::uint8_t byte, QByteArray& out) {
    switch (state_) {
        case State::Frame:
            if (byte == kLineEnd) {
                state_ = State::CheckHigh;
            } else if (frameText_.size() == kMaxFrameText) {
                state_ = State::Idle;
            } else {
                frameText_.append(char(byte));
            }
            return;
        case State::CheckHigh:
            frameCheck_ = QByteArray(1, char(byte));
            state_ = State::CheckLow;
            return;
        case State::CheckLow:
            frameCheck_.append(char(byte));
            state_ = State::Idle;
            frame(out);
            return;
        case State::Dc1:
            if (byte == kSelect) {
                state_ = State::Dc1Dc1;
                return;
            }
            break;
        case State::Dc1Dc1:
            if (isDigit(byte)) {
                tens_ = byte;
                state_ = State::AddressDigit;
                return;
            }
            break;
        case State::AddressDigit:
            if (isDigit(byte)) {
                state_ = State::Idle;
                selected((tens_ - '0') * 10 + (byte - '0'), out);
                return;
            }
            break;
        case State::Idle:
            break;
    }

    state_ = State::Idle;
    if (byte == kSelect) {
        state_ = State::Dc1;
    } else if (byte == kLineStart) {
        frameText_.clear();
        state_ = State::Frame;
    } else if (byte == kRelease && previous_ == kRelease) {
        selected_ = false;
        byte = 0;  // a third DC3 starts a new pair
    }
    previous_ = byte;
}

void SimulatedRegister::selected(int registerNumber, QByteArray& out) {
    selected_ = false;
    if (registerNumber < 1 || (onlyNumber_ && registerNumber != *onlyNumber_)) return;
    if (faults_.silent.fire()) return;
    selected_ = true;
    number_ = registerNumber;
    if (journal_)
        *journal_ << QStringLiteral("selected: %1").arg(registerNumber, 2, 10, QLatin1Char('0'));
    out += statusLine();
}

QByteArray SimulatedRegister::statusLine() {
    QByteArray text =
        QByteArray::number(number_).rightJustified(2, '0') + ';' + modelTag(model()) + ';';
    if (faults_.fillInsideLines.fire()) text.insert(1, char(kFill));
    return registerLine(text);
}

void SimulatedRegister::frame(QByteArray& out) {
    if (!selected_) return;
    FrameChecksum sum;
    sum.add(frameText_);
    sum.add(kLineEnd);
    sum.add(frameCheck_);
    if (!sum.isZero()) {
        out += char(kNak);
        return;
    }
    if (faults_.silent.fire()) return;
    if (faults_.refuseFrames.fire()) {
        out += char(kNak);
        return;
    }
    commands_.append(frameText_);
    if (journal_) *journal_ << QStringLiteral("command: ") + text::fromCp1251(frameText_);
    out += char(kAck);
    std::optional<QByteArray> reply = script_ ? script_(frameText_) : std::nullopt;
    if (!reply && faults_.errorReplies.fire()) reply = QByteArray("E0;");
    if (!reply) {
        const bool alter = frameText_.startsWith('W') && faults_.alterStored.fire();
        reply = execute(alter ? altered(frameText_) : frameText_);
    }
    if (faults_.lateReplies.fire()) {
        late_ += replyLine(*reply);
        return;
    }
    out += replyLine(*reply);
}

QByteArray SimulatedRegister::replyLine(QByteArray text) {
    if (faults_.overLongReplies.fire()) {
        while (text.size() < kOverLongReply) text += "0;";
        text.truncate(kOverLongReply);
    }
    if (faults_.fillInsideLines.fire()) {
        if (text.size() >= 2) text.insert(text.size() / 2, char(kFill));
        text.insert(qMin<qsizetype>(1, text.size()), char(kFill));
    }
    QByteArray line = registerLine(text);
    if (faults_.wrongCheckBytes.fire()) line[line.size() - 1] = char(line.back() ^ 0x01);
    if (faults_.cutShortLines.fire()) line.truncate(1 + text.size() / 2);
    return line;
}

QByteArray SimulatedRegister::execute(QByteArrayView command) {
    const char kind = command.isEmpty() ? '\0' : command.front();
    const qsizetype tableEnd = command.indexOf(';');
    const qsizetype recordEnd = tableEnd < 0 ? -1 : command.indexOf(';', tableEnd + 1);
    if ((kind != 'R' && kind != 'W') || recordEnd < 0) return refusalText(Refusal::NoFields);
    const std::optional<int> table = number(command.sliced(1, tableEnd - 1));
    const std::optional<int> record =
        number(command.sliced(tableEnd + 1, recordEnd - tableEnd - 1));
    const QByteArrayView rest = command.sliced(recordEnd + 1);
    if (!table || !record || (kind == 'R' && !rest.isEmpty()))
        return refusalText(Refusal::NoFields);

    const QByteArray leading = QByteArray::number(*table) + ';' + QByteArray::number(*record) + ';';
    if (kind == 'R') {
        QByteArray fields;
        const Refusal refusal = tables_.read(*table, *record, fields);
        return refusal == Refusal::None ? leading + fields : refusalText(refusal);
    }
    const Refusal refusal = tables_.write(*table, *record, rest);
    return refusal == Refusal::None ? leading : refusalText(refusal);
}

}  // namespace tabulon::sim
