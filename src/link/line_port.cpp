#include "link/line_port.h"

#include "link/network_address.h"
#include "link/network_port.h"
#include "link/system_serial_port.h"

namespace tabulon::link {

namespace {

class LinePort final : public BytePort {
public:
    LinePort(PortMaker serial, PortMaker network)
        : serial_(std::move(serial)), network_(std::move(network)) {}

    bool open(const QString& device) override {
        const bool network = isNetworkAddress(device);
        if (!port_ || network != networkOpen_) {
            if (port_) port_->close();
            port_ = network ? network_() : serial_();
            port_->tapWire(tap_);
            networkOpen_ = network;
        }
        return port_->open(device);
    }
    bool apply(const LineSettings& settings) override { return port_ && port_->apply(settings); }
    bool isOpen() const override { return port_ && port_->isOpen(); }
    void write(QByteArrayView bytes) override {
        if (port_) port_->write(bytes);
    }
    std::optional<std::uint8_t> readByte() override {
        return port_ ? port_->readByte() : std::nullopt;
    }
    void drain() override {
        if (port_) port_->drain();
    }
    void discardInput() override {
        if (port_) port_->discardInput();
    }
    bool close() override { return !port_ || port_->close(); }
    QString errorString() const override { return port_ ? port_->errorString() : QString(); }
    std::optional<NetworkFailure> serverFailure() const override {
        return port_ ? port_->serverFailure() : std::nullopt;
    }
    void tapWire(WireTap* tap) override {
        tap_ = tap;
        if (port_) port_->tapWire(tap);
    }
    bool reportsWire() const override { return port_ && port_->reportsWire(); }

private:
    PortMaker serial_;
    PortMaker network_;
    std::unique_ptr<BytePort> port_;
    bool networkOpen_ = false;
    WireTap* tap_ = nullptr;
};

}  // namespace

std::unique_ptr<BytePort> makeLinePort(PortMaker serial, PortMaker network) {
    return std::make_unique<LinePort>(std::move(serial), std::move(network));
}

std::unique_ptr<BytePort> makeLinePort() {
    return makeLinePort(makeSystemSerialPort, [] { return std::make_unique<NetworkBytePort>(); });
}

}  // namespace tabulon::link
