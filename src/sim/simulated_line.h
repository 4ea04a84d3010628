#pragma once

#include <QString>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "link/byte_port.h"
#include "link/clock.h"
#include "sim/chaos.h"
#include "sim/line_device.h"

namespace tabulon::sim {

// A serial line inside the process: the computer's port at one end, simulated
// devices (none, one or several simulated registers) at the other. Registers answer at once; a
// read with nothing to read costs the read time-out of the virtual clock, so a
// silent line is as slow as on the wire but takes no real time. It keeps what
// the computer put on the line for tests to compare.
class SimulatedLine {
public:
    explicit SimulatedLine(std::shared_ptr<link::VirtualClock> clock);

    void attach(std::shared_ptr<LineDevice> device);
    void detachAll() { devices_.clear(); }

    // Puts the devices behind a bad line: what they hear and say goes through
    // the chaos, and their answers arrive after its pauses, in virtual time.
    void setChaos(std::shared_ptr<Chaos> chaos) { chaos_ = std::move(chaos); }

    // Every byte the computer wrote while the port was open, in order.
    const QByteArray& sent() const { return sent_; }
    // Every byte the computer read.
    const QByteArray& received() const { return received_; }
    void clearTranscript();
    // Long runs (benchmarks, a whole goods table) need not keep every byte.
    void keepTranscript(bool keep) { keepTranscript_ = keep; }
    int timeouts() const { return timeouts_; }

    // Makes the next opens (`times` of them, -1: all) fail with this system
    // text (nullopt: they succeed).
    void failOpen(std::optional<QString> reason, int times = -1) {
        openFailure_ = std::move(reason);
        openFailuresLeft_ = times;
    }
    // How many times the computer tried to open the line.
    int opens() const { return opens_; }
    // Makes applying the line settings fail with this text.
    void failSettings(std::optional<QString> reason) { settingsFailure_ = std::move(reason); }

    bool isOpen() const { return open_; }
    const QString& device() const { return device_; }
    const std::optional<link::LineSettings>& settings() const { return settings_; }
    int closes() const { return closes_; }

    link::VirtualClock& clock() { return *clock_; }
    std::chrono::milliseconds readTimeout() const { return readTimeout_; }

    // The computer's end, for the port.
    bool open(const QString& device, QString& error);
    bool apply(const link::LineSettings& settings, QString& error);
    void write(QByteArrayView bytes);
    std::optional<std::uint8_t> readByte();
    void drain() {}
    void discardInput();
    void close();

private:
    // An answer byte on a line with chaos, and when it reaches the computer.
    struct TimedByte {
        link::Clock::Duration arrival;
        char byte;
    };
    void queueAnswer(QByteArrayView answer);
    // Drops the answer bytes that have reached the computer's end.
    void dropArrived();
    std::optional<std::uint8_t> readTimed();

    std::shared_ptr<link::VirtualClock> clock_;
    std::vector<std::shared_ptr<LineDevice>> devices_;
    std::shared_ptr<Chaos> chaos_;
    std::deque<TimedByte> timed_;
    std::chrono::milliseconds readTimeout_{link::kByteTimeout};

    bool open_ = false;
    QString device_;
    std::optional<link::LineSettings> settings_;
    std::optional<QString> openFailure_;
    int openFailuresLeft_ = -1;
    int opens_ = 0;
    std::optional<QString> settingsFailure_;
    int closes_ = 0;

    QByteArray pending_;  // register output not yet read
    qsizetype readPos_ = 0;
    bool keepTranscript_ = true;
    QByteArray sent_;
    QByteArray received_;
    int timeouts_ = 0;
};

// The link's byte port on a simulated line.
class SimulatedPort final : public link::BytePort {
public:
    explicit SimulatedPort(std::shared_ptr<SimulatedLine> line) : line_(std::move(line)) {}

    bool open(const QString& device) override {
        open_ = line_->open(device, error_);
        return open_;
    }
    bool apply(const link::LineSettings& settings) override {
        return line_->apply(settings, error_);
    }
    bool isOpen() const override { return open_; }
    void write(QByteArrayView bytes) override {
        if (open_) line_->write(bytes);
    }
    std::optional<std::uint8_t> readByte() override {
        return open_ ? line_->readByte() : std::nullopt;
    }
    void drain() override { line_->drain(); }
    void discardInput() override {
        if (open_) line_->discardInput();
    }
    bool close() override {
        if (open_) line_->close();
        open_ = false;
        return true;
    }
    QString errorString() const override { return error_; }

private:
    std::shared_ptr<SimulatedLine> line_;
    bool open_ = false;  // this end, not the line: another port may hold it
    QString error_;
};

}  // namespace tabulon::sim
