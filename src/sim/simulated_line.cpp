#include "sim/simulated_line.h"

#include <algorithm>

namespace tabulon::sim {

SimulatedLine::SimulatedLine(std::shared_ptr<link::VirtualClock> clock)
    : clock_(std::move(clock)) {}

void SimulatedLine::attach(std::shared_ptr<LineDevice> device) {
    devices_.push_back(std::move(device));
}

void SimulatedLine::clearTranscript() {
    sent_.clear();
    received_.clear();
    timeouts_ = 0;
}

bool SimulatedLine::open(const QString& device, QString& error) {
    ++opens_;
    if (openFailure_ && openFailuresLeft_ != 0) {
        error = *openFailure_;
        if (openFailuresLeft_ > 0) --openFailuresLeft_;
        return false;
    }
    if (open_) {
        error = QStringLiteral("Device or resource busy");
        return false;
    }
    open_ = true;
    device_ = device;
    error.clear();
    return true;
}

bool SimulatedLine::apply(const link::LineSettings& settings, QString& error) {
    if (settingsFailure_) {
        error = *settingsFailure_;
        return false;
    }
    settings_ = settings;
    return true;
}

void SimulatedLine::write(QByteArrayView bytes) {
    if (!open_) return;
    if (keepTranscript_) sent_.append(bytes);
    if (chaos_) {
        const QByteArray heard = chaos_->heard(bytes, clock_->now());
        for (const auto& device : devices_) queueAnswer(device->receive(heard));
        return;
    }
    if (readPos_ > 0) {  // what was read is gone; keep the queue short
        pending_.remove(0, readPos_);
        readPos_ = 0;
    }
    for (const auto& device : devices_) pending_ += device->receive(bytes);
}

void SimulatedLine::queueAnswer(QByteArrayView answer) {
    // The line carries one byte after the other: an answer starts no sooner
    // than the bytes still on their way have arrived.
    link::Clock::Duration at = clock_->now();
    if (!timed_.empty()) at = std::max(at, timed_.back().arrival);
    for (const Chaos::Piece& piece : chaos_->spoken(answer, clock_->now())) {
        at += piece.pause;
        for (char byte : piece.bytes) timed_.push_back({at, byte});
    }
}

std::optional<std::uint8_t> SimulatedLine::readTimed() {
    const link::Clock::Duration now = clock_->now();
    if (timed_.empty() || timed_.front().arrival > now + readTimeout_) {
        clock_->advance(readTimeout_);
        ++timeouts_;
        for (const auto& device : devices_) queueAnswer(device->takeLateOutput());
        return std::nullopt;
    }
    const TimedByte next = timed_.front();
    timed_.pop_front();
    if (next.arrival > now) clock_->advance(next.arrival - now);
    if (keepTranscript_) received_.append(next.byte);
    return std::uint8_t(next.byte);
}

std::optional<std::uint8_t> SimulatedLine::readByte() {
    if (!open_) return std::nullopt;
    if (chaos_) return readTimed();
    if (readPos_ == pending_.size()) {
        pending_.clear();
        readPos_ = 0;
        clock_->advance(readTimeout_);
        ++timeouts_;
        // A late answer arrives once the computer has given up on it.
        for (const auto& device : devices_) pending_ += device->takeLateOutput();
        return std::nullopt;
    }
    const char byte = pending_.at(readPos_++);
    if (keepTranscript_) received_.append(byte);
    return std::uint8_t(byte);
}

void SimulatedLine::discardInput() {
    if (!open_) return;
    // Only what has arrived: bytes still on their way come in afterwards.
    dropArrived();
    pending_.clear();
    readPos_ = 0;
}

void SimulatedLine::close() {
    if (!open_) return;
    open_ = false;
    ++closes_;
    // Closing a device drops what it had received and nobody read; a
    // register still answering goes on, and what it says after the port is
    // open again comes in.
    dropArrived();
    pending_.clear();
    readPos_ = 0;
}

void SimulatedLine::dropArrived() {
    while (!timed_.empty() && timed_.front().arrival <= clock_->now()) timed_.pop_front();
}

}  // namespace tabulon::sim
