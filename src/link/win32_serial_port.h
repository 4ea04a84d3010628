#pragma once

#include <chrono>
#include <optional>

#include "link/byte_port.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace tabulon::link {

// A serial device through the Win32 communications calls: the plain blocking
// ReadFile and WriteFile with the port's own time-outs, no overlapped I/O and
// no comm events, which is also what works on the COM ports Wine maps to
// Linux devices.
class Win32SerialPort final : public BytePort {
public:
    explicit Win32SerialPort(std::chrono::milliseconds readTimeout = kByteTimeout);
    ~Win32SerialPort() override;
    Win32SerialPort(const Win32SerialPort&) = delete;
    Win32SerialPort& operator=(const Win32SerialPort&) = delete;

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
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    std::chrono::milliseconds readTimeout_;
    QString error_;
};

// The name CreateFile takes for a device: "COM12" becomes "\\.\COM12" (the
// only form that reaches ports above COM9); any other name is used as given.
QString win32DeviceName(const QString& device);

// `base` (what the port held) changed to the register line: the speed, data
// bits, parity and stop bits of `settings`, DTR as `settings` says, RTS on,
// binary mode, and no flow control of any kind, so DC1 and DC3 pass as data.
DCB win32LineSettings(const LineSettings& settings, DCB base);

// Each read returns one byte as soon as it arrives or nothing after
// `readTimeout`; writes have no time-out.
COMMTIMEOUTS win32Timeouts(std::chrono::milliseconds readTimeout);

// The system's text for an error code, without the line break it ends with.
QString win32ErrorText(DWORD code);

}  // namespace tabulon::link
