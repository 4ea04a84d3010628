#pragma once

// A port that passes every call on to another: the tests and the benchmarks
// derive from it to count, delay or break what crosses a real or simulated
// line, overriding only the calls they change.

#include <memory>
#include <utility>

#include "link/byte_port.h"

namespace tabulon::testing {

class ForwardingPort : public link::BytePort {
public:
    explicit ForwardingPort(std::unique_ptr<link::BytePort> inner) : inner_(std::move(inner)) {}

    bool open(const QString& device) override { return inner_->open(device); }
    bool apply(const link::LineSettings& settings) override { return inner_->apply(settings); }
    bool isOpen() const override { return inner_->isOpen(); }
    void write(QByteArrayView bytes) override { inner_->write(bytes); }
    std::optional<std::uint8_t> readByte() override { return inner_->readByte(); }
    void drain() override { inner_->drain(); }
    void discardInput() override { inner_->discardInput(); }
    bool close() override { return inner_->close(); }
    QString errorString() const override { return inner_->errorString(); }
    std::optional<link::NetworkFailure> serverFailure() const override {
        return inner_->serverFailure();
    }

private:
    std::unique_ptr<link::BytePort> inner_;
};

}  // namespace tabulon::testing
