#include "link/serial_port.h"

#include <QDeadlineTimer>

#include "link/system_serial_port.h"

#ifdef Q_OS_UNIX
#include <termios.h>
#endif

namespace tabulon::link {

namespace {

constexpr qint64 kQueueSize = 1024;

// Writes have no time-out of their own; this only keeps a wedged device (a
// pseudo-terminal nobody reads) from hanging the program for good.
constexpr int kWriteStallMs = 10000;

QSerialPort::DataBits dataBits(int bits) {
    switch (bits) {
        case 5:
            return QSerialPort::Data5;
        case 6:
            return QSerialPort::Data6;
        case 7:
            return QSerialPort::Data7;
        default:
            return QSerialPort::Data8;
    }
}

QSerialPort::Parity parity(char p) {
    switch (p) {
        case 'E':
            return QSerialPort::EvenParity;
        case 'O':
            return QSerialPort::OddParity;
        case 'M':
            return QSerialPort::MarkParity;
        case 'S':
            return QSerialPort::SpaceParity;
        default:
            return QSerialPort::NoParity;
    }
}

}  // namespace

SerialBytePort::SerialBytePort(std::chrono::milliseconds readTimeout) : readTimeout_(readTimeout) {}

SerialBytePort::~SerialBytePort() = default;

bool SerialBytePort::open(const QString& device) {
    error_.clear();
    // Made afresh by the thread that opens it: a QSerialPort serves only the
    // thread it belongs to, and the link's thread is not the one that made
    // this object.
    if (port_ && port_->isOpen()) port_->close();
    port_ = std::make_unique<QSerialPort>();
    port_->setPortName(device);
    if (!port_->open(QIODevice::ReadWrite)) {
        error_ = port_->errorString();
        return false;
    }
    port_->setReadBufferSize(kQueueSize);
    return true;
}

bool SerialBytePort::apply(const LineSettings& settings) {
    if (!isOpen()) return false;
    const bool applied =
        port_->setBaudRate(settings.baudRate) && port_->setDataBits(dataBits(settings.dataBits)) &&
        port_->setParity(parity(settings.parity)) &&
        port_->setStopBits(settings.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop) &&
        port_->setFlowControl(QSerialPort::NoFlowControl);
    if (!applied) {
        error_ = port_->errorString();
        return false;
    }
    // A pseudo-terminal or a USB adapter without modem lines cannot raise DTR;
    // the register line works without it, so that is not a failure.
    port_->setDataTerminalReady(settings.dataTerminalReady);
    port_->clearError();
    return true;
}

bool SerialBytePort::isOpen() const {
    return port_ && port_->isOpen();
}

void SerialBytePort::write(QByteArrayView bytes) {
    if (!isOpen() || bytes.isEmpty()) return;
    port_->write(bytes.data(), bytes.size());
    // QSerialPort only queues; without an event loop the bytes leave here.
    while (port_->bytesToWrite() > 0) {
        if (!port_->waitForBytesWritten(kWriteStallMs)) break;
    }
}

std::optional<std::uint8_t> SerialBytePort::readByte() {
    if (!isOpen()) return std::nullopt;
    const QDeadlineTimer deadline(readTimeout_);
    while (port_->bytesAvailable() == 0) {
        if (deadline.hasExpired() || !port_->waitForReadyRead(int(deadline.remainingTime()))) {
            if (port_->bytesAvailable() > 0) break;
            return std::nullopt;
        }
    }
    char byte = 0;
    if (!port_->getChar(&byte)) return std::nullopt;
    return static_cast<std::uint8_t>(byte);
}

void SerialBytePort::drain() {
    if (!isOpen()) return;
    while (port_->bytesToWrite() > 0) {
        if (!port_->waitForBytesWritten(kWriteStallMs)) break;
    }
#ifdef Q_OS_UNIX
    // The bytes may still sit in the driver's queue; the device must not be
    // closed (and the line settings restored) before they are on the line.
    ::tcdrain(int(port_->handle()));
#endif
}

void SerialBytePort::discardInput() {
    if (!isOpen()) return;
    // Bytes the event loop never fetched are still in the driver; take them
    // into Qt's buffer first, then let clear() drop both.
    port_->waitForReadyRead(0);
    port_->clear(QSerialPort::Input);
    port_->readAll();
}

bool SerialBytePort::close() {
    if (!isOpen()) return true;
    port_->clearError();
    port_->close();
    return port_->error() == QSerialPort::NoError;
}

std::unique_ptr<BytePort> makeSystemSerialPort() {
    return std::make_unique<SerialBytePort>();
}

}  // namespace tabulon::link
