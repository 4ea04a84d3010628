#include "sim/simulated_line.h"

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
    if (openFailure_) {
        error = *openFailure_;
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
    if (readPos_ > 0) {  // what was read is gone; keep the queue short
        pending_.remove(0, readPos_);
        readPos_ = 0;
    }
    for (const auto& device : devices_) pending_ += device->receive(bytes);
}

std::optional<std::uint8_t> SimulatedLine::readByte() {
    if (!open_) return std::nullopt;
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
    pending_.clear();
    readPos_ = 0;
}

void SimulatedLine::close() {
    if (!open_) return;
    open_ = false;
    ++closes_;
    // Closing a device drops what it had received and nobody read.
    pending_.clear();
    readPos_ = 0;
}

}  // namespace tabulon::sim
