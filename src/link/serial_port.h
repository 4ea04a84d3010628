#pragma once

#include <QSerialPort>
#include <chrono>
#include <memory>

#include "link/byte_port.h"

namespace tabulon::link {

// A serial device through QSerialPort. QSerialPort's lock file makes the open
// exclusive: a port held by another program (or another link) does not open.
class SerialBytePort final : public BytePort {
public:
    explicit SerialBytePort(std::chrono::milliseconds readTimeout = kByteTimeout);
    ~SerialBytePort() override;

    bool open(const QString& device) override;
    bool apply(const LineSettings& settings) override;
    bool isOpen() const override;
    void write(QByteArrayView bytes) override;
    std::optional<std::uint8_t> readByte() override;
    void drain() override;
    void discardInput() override;
    bool close() override;
    QString errorString() const override { return error_; }

private:
    std::unique_ptr<QSerialPort> port_;  // made by open(), on the thread that opens
    std::chrono::milliseconds readTimeout_;
    QString error_;
};

}  // namespace tabulon::link
