#include "link/register_link.h"

#include <algorithm>
#include <chrono>

#include "link/line_bytes.h"
#include "link/result_codes.h"

namespace tabulon::link {

namespace {

constexpr int kSelectAttempts = 5;
constexpr int kPollAttempts = 16;
constexpr int kExchangeAttempts = 10;
// A line that overran its buffer is read to its end so the next exchange starts
// on a quiet line; a register that never ends its line is cut off here.
constexpr int kMaxSkippedBytes = 4096;

bool validRegister(int registerNumber) {
    return registerNumber >= 1 && registerNumber <= kHighestRegister;
}

QByteArray commandText(char letter, int table, int record) {
    return letter + QByteArray::number(table) + ';' + QByteArray::number(record) + ';';
}

}  // namespace

RegisterLink::RegisterLink(Parts parts)
    : port_(std::move(parts.port)),
      deviceFor_(std::move(parts.deviceFor)),
      clock_(std::move(parts.clock)),
      priority_(std::move(parts.priority)) {}

RegisterLink::~RegisterLink() = default;

int RegisterLink::ended(LinkResult result) {
    lastCause_ = result.cause;
    refusal_.clear();
    return result.code;
}

int RegisterLink::done(int result) {
    lastCause_ = ResultCause::Done;
    refusal_.clear();
    return result;
}

int RegisterLink::OpenPort(int port, int speed) {
    constexpr Operation op = Operation::OpenPort;
    openServerFailure_.reset();
    if (port < 1 || port > 9) {
        openError_ = englishText(op, ResultCause::PortNumberOutOfRange);
        return ended(linkResult(op, ResultCause::PortNumberOutOfRange));
    }
    const std::optional<QByteArray> speedName = speedText(speed);
    if (!speedName) {
        openError_ = englishText(op, ResultCause::SpeedNotSupported);
        return ended(linkResult(op, ResultCause::SpeedNotSupported));
    }
    // Opening over an open port would leave that device held until the
    // program ends; let it go first.
    if (port_->isOpen()) port_->close();
    openFlag_ = -1;
    openPort_ = -1;

    openDevice_ = deviceFor_(port);
    if (!port_->open(openDevice_)) {
        openError_ = port_->errorString();
        openServerFailure_ = port_->serverFailure();
        return ended(linkResult(op, ResultCause::DeviceDidNotOpen));
    }
    std::optional<LineSettings> settings = lineSettingsFromMode(modeText(port, *speedName));
    if (!settings) {
        port_->close();
        openError_ = englishText(op, ResultCause::NoLineSettings);
        return ended(linkResult(op, ResultCause::NoLineSettings));
    }
    settings->dataTerminalReady = true;
    if (!port_->apply(*settings)) {
        openError_ = port_->errorString();
        openServerFailure_ = port_->serverFailure();
        port_->close();
        return ended(linkResult(op, ResultCause::LineSettingsNotApplied));
    }
    openError_.clear();
    openFlag_ = 1;
    openPort_ = port;
    return done(1);
}

int RegisterLink::ClosePort(int port) {
    constexpr Operation op = Operation::ClosePort;
    if (openPort_ == -1 || port != openPort_)
        return ended(linkResult(op, ResultCause::NotTheOpenPort));
    send(releaseSequence(8, 8));
    openFlag_ = -1;
    openPort_ = -1;
    port_->drain();
    if (!port_->close()) return ended(linkResult(op, ResultCause::CloseRefused));
    return done(1);
}

void RegisterLink::setAddress(int registerNumber) {
    address_ = registerAddress(registerNumber);
}

RegisterLink::LineEnd RegisterLink::readLineText(QByteArray& text, bool keepFill,
                                                 FrameChecksum* checksum) {
    // Dropped fill bytes do not fill the buffer, so they are counted apart: a
    // line that streams nothing but 0xFF must not hold the link for good.
    for (int bytesRead = 0;; ++bytesRead) {
        const std::optional<std::uint8_t> byte = port_->readByte();
        if (!byte) return LineEnd::Missing;
        if (checksum) checksum->add(*byte);
        if (*byte == kLineEnd) return LineEnd::Complete;
        if (bytesRead == kMaxSkippedBytes) {
            skipRestOfLine();
            return LineEnd::TooLong;
        }
        if (*byte == kFill && !keepFill) continue;
        if (text.size() == kMaxLineText) {
            skipRestOfLine();
            return LineEnd::TooLong;
        }
        text.append(char(*byte));
    }
}

void RegisterLink::skipRestOfLine() {
    for (int skipped = 0; skipped < kMaxSkippedBytes; ++skipped) {
        const std::optional<std::uint8_t> byte = port_->readByte();
        if (!byte) return;
        if (*byte == kLineEnd) break;
    }
    readCheckBytes(nullptr);
}

bool RegisterLink::readCheckBytes(FrameChecksum* checksum) {
    for (int i = 0; i < 2; ++i) {
        const std::optional<std::uint8_t> byte = port_->readByte();
        if (!byte) return false;
        if (checksum) checksum->add(*byte);
    }
    return true;
}

void RegisterLink::frameAnswerOwed(std::optional<std::uint8_t> firstByte) {
    // A refusal byte is the whole answer; anything else (a time-out, a line
    // cut off, the start of a status line that came late) may have the
    // register's real answer still to come.
    if (firstByte != kNak) answerOwed_ = true;
}

void RegisterLink::waitOutOwedAnswer() {
    // Dropping only what has arrived is not enough here: a register slow
    // with its status lines has the answer to the last frame behind the
    // status line of a select it was sent before, and the status line taken
    // for this select may be that older one. The answer would then come
    // right after this select's status line and pass for the reply to the
    // next frame.
    answerOwed_ = false;
    for (int drained = 0; drained < kMaxSkippedBytes && !givingUp(); ++drained) {
        if (!port_->readByte()) return;
    }
}

bool RegisterLink::readStatusLine() {
    const std::optional<std::uint8_t> first = port_->readByte();
    if (!first || *first != kLineStart) return false;
    status_.clear();
    if (readLineText(status_, false, nullptr) != LineEnd::Complete) return false;
    return readCheckBytes(nullptr);
}

int RegisterLink::SelectRegister() {
    const QByteArray sequence = selectSequence(address_);
    for (int attempt = 0; attempt < kSelectAttempts && !givingUp(); ++attempt) {
        if (answerOwed_) waitOutOwedAnswer();
        // Whatever waits in the input now answers an earlier exchange (a reply
        // after its time-out, the rest of a damaged line); read as this
        // register's status line it would pair every later command with the
        // answer to the one before.
        port_->discardInput();
        send(sequence);
        if (readStatusLine()) {
            send(lineAcknowledgement());
            // A second status line (the answer to an earlier attempt, come
            // late) may follow this one; led by a stray ACK it would pass for
            // the reply to the frame that comes next.
            port_->discardInput();
            return done(0);
        }
    }
    send(releaseSequence(8, 8));
    return ended(linkResult(Operation::SelectRegister, ResultCause::NoAnswer));
}

int RegisterLink::PollRegister() {
    send(fillRun(5));
    const QByteArray sequence = pollSequence(address_);
    for (int attempt = 0; attempt < kPollAttempts && !givingUp(); ++attempt) {
        port_->discardInput();
        send(sequence);
        if (readStatusLine()) {
            send(lineAcknowledgement());
            return done(0);
        }
    }
    return ended(linkResult(Operation::PollRegister, ResultCause::NoAnswer));
}

int RegisterLink::exchangeEnded(int result) {
    if (result >= 0 || openFlag_ != 1 || port_->isOpen()) return result;
    switch (lastCause_) {
        case ResultCause::RegisterNumberOutOfRange:
        case ResultCause::CommandTooLong:
        case ResultCause::PortNotOpen:
            return result;  // refused before the line was used
        default:
            break;
    }
    constexpr LinkResult lost = linkResult(Operation::ReadRecord, ResultCause::ConnectionLost);
    static_assert(lost.code ==
                  linkResult(Operation::WriteRecord, ResultCause::ConnectionLost).code);
    return ended(lost);
}

int RegisterLink::ReadRecord(int registerNumber, int table, int record, QByteArray& reply) {
    return exchangeEnded(readRecord(registerNumber, table, record, reply));
}

int RegisterLink::WriteRecord(int registerNumber, int table, int record, QByteArrayView data) {
    return exchangeEnded(writeRecord(registerNumber, table, record, data));
}

int RegisterLink::readRecord(int registerNumber, int table, int record, QByteArray& reply) {
    constexpr Operation op = Operation::ReadRecord;
    if (!validRegister(registerNumber))
        return ended(linkResult(op, ResultCause::RegisterNumberOutOfRange));
    const QByteArray command = commandText('R', table, record);
    if (command.size() > kMaxReadCommand) return ended(linkResult(op, ResultCause::CommandTooLong));
    if (!lineOpen()) return ended(linkResult(op, ResultCause::PortNotOpen));
    setAddress(registerNumber);
    const QByteArray frame = fillRun(11) + BuildFrame(command);

    RaisedPriority raised(*priority_);
    send(fillRun(11));
    QByteArray text;
    for (int attempt = 0;;) {
        if (SelectRegister() < 0) return ended(linkResult(op, ResultCause::NoAnswer));
        send(frame);
        const std::optional<std::uint8_t> answer = port_->readByte();
        if (!answer || *answer != kAck) {
            frameAnswerOwed(answer);
            return ended(answer ? linkResult(op, ResultCause::RefusedFrame)
                                : linkResult(op, ResultCause::AwaitedByteMissing));
        }
        const bool lineStart = port_->readByte().has_value();  // the register's LF
        checksum_.reset();
        text.clear();
        const LineEnd lineEnd = lineStart ? readLineText(text, true, &checksum_) : LineEnd::Missing;
        if (lineEnd != LineEnd::Complete || !readCheckBytes(&checksum_)) {
            frameAnswerOwed(answer);
            return ended(lineEnd == LineEnd::TooLong
                             ? linkResult(op, ResultCause::ReplyTooLong)
                             : linkResult(op, ResultCause::AwaitedByteMissing));
        }
        if (!checksum_.isZero()) return ended(linkResult(op, ResultCause::CheckBytesDiffer));
        send(lineAcknowledgement());

        if (!text.startsWith(kErrorMark)) break;
        if (++attempt == kExchangeAttempts) {
            send(releaseSequence(5, 5));
            const int result = ended(linkResult(op, ResultCause::RegisterRefused));
            refusal_ = text;
            return result;
        }
    }
    reply = text;
    send(releaseSequence(5, 5));
    return done(int(text.size()));
}

int RegisterLink::writeRecord(int registerNumber, int table, int record, QByteArrayView data) {
    constexpr Operation op = Operation::WriteRecord;
    if (!validRegister(registerNumber))
        return ended(linkResult(op, ResultCause::RegisterNumberOutOfRange));
    const qsizetype end = data.indexOf('\0');
    if (end >= 0) data = data.first(end);
    const QByteArray command = commandText('W', table, record) + data.toByteArray();
    if (command.size() > kMaxWriteCommand)
        return ended(linkResult(op, ResultCause::CommandTooLong));
    if (!lineOpen()) return ended(linkResult(op, ResultCause::PortNotOpen));
    setAddress(registerNumber);
    const QByteArray frame = BuildFrame(command);
    const QByteArray framed = fillRun(11) + frame;

    enum class Outcome { Refused, ErrorReply, Accepted } outcome = Outcome::Accepted;
    RaisedPriority raised(*priority_);
    send(fillRun(11));
    for (int attempt = 0;;) {
        if (SelectRegister() < 0) return ended(linkResult(op, ResultCause::NoAnswer));
        send(framed);
        const std::optional<std::uint8_t> answer = port_->readByte();
        if (!answer) {
            frameAnswerOwed(answer);
            send(releaseSequence(8, 8));
            return ended(linkResult(op, ResultCause::AwaitedByteMissing));
        }
        if (*answer != kAck) {
            frameAnswerOwed(answer);
            outcome = Outcome::Refused;
            if (++attempt == kExchangeAttempts) break;
            continue;
        }
        status_.clear();
        const std::optional<std::uint8_t> lineStart = port_->readByte();
        const LineEnd lineEnd =
            lineStart ? readLineText(status_, false, nullptr) : LineEnd::Missing;
        if (lineEnd != LineEnd::Complete) {
            frameAnswerOwed(answer);
            send(releaseSequence(8, 8));
            return ended(lineEnd == LineEnd::TooLong
                             ? linkResult(op, ResultCause::ReplyTooLong)
                             : linkResult(op, ResultCause::AwaitedByteMissing));
        }
        if (!readCheckBytes(nullptr)) {
            frameAnswerOwed(answer);
            raised.leave();
            send(releaseSequence(8, 8));
            return ended(linkResult(op, ResultCause::AwaitedByteMissing));
        }
        // The reply's check bytes say nothing, so its "E" is all there is to
        // tell a refusal by. A line whose start was lost, doubled or came
        // after another byte has its "E" elsewhere than first, or none: such
        // a line cannot tell a stored record from a refused one.
        if (*lineStart != kLineStart || status_.contains(char(kLineStart))) {
            frameAnswerOwed(answer);
            raised.leave();
            send(releaseSequence(8, 8));
            return ended(linkResult(op, ResultCause::DamagedReplyLine));
        }
        send(lineAcknowledgement());
        if (!status_.startsWith(kErrorMark)) {
            outcome = Outcome::Accepted;
            break;
        }
        outcome = Outcome::ErrorReply;
        if (++attempt == kExchangeAttempts) break;
    }
    raised.leave();
    send(releaseSequence(10, 15));
    if (outcome == Outcome::Refused) return ended(linkResult(op, ResultCause::RefusedFrame));
    if (outcome == Outcome::ErrorReply) {
        send(releaseSequence(8, 8));
        const int result = ended(linkResult(op, ResultCause::RegisterRefused));
        refusal_ = status_;
        return result;
    }
    return done(int(frame.size()));
}

void RegisterLink::pause() {
    using namespace std::chrono_literals;
    const Clock::Duration start = clock_->now();
    for (;;) {
        const Clock::Duration elapsed = clock_->now() - start;
        if (elapsed > 1000ms || givingUp()) return;
        // In short steps, so that a program that closes need not wait.
        clock_->sleepFor(std::min<Clock::Duration>(1001ms - elapsed, 50ms));
    }
}

int RegisterLink::ResetLink() {
    if (openFlag_ == -1 || openPort_ == -1 || !port_->isOpen())
        return ended(linkResult(Operation::ResetLink, ResultCause::PortNotOpen));
    RaisedPriority raised(*priority_);
    send(releaseSequence(8, 8));
    pause();
    return done(1);
}

int RegisterLink::DetectRegister(int registerNumber) {
    constexpr Operation op = Operation::DetectRegister;
    if (!validRegister(registerNumber))
        return ended(linkResult(op, ResultCause::RegisterNumberOutOfRange));
    RaisedPriority raised(*priority_);
    if (ResetLink() < 0) return ended(linkResult(op, ResultCause::PortNotOpen));
    setAddress(registerNumber);
    const int polled = PollRegister();
    ResetLink();
    raised.leave();
    if (polled < 0) return ended(linkResult(op, ResultCause::NoAnswer));
    return done(1);
}

}  // namespace tabulon::link
