#include "link/win32_serial_port.h"

#include <QRegularExpression>

#include "link/system_serial_port.h"

namespace tabulon::link {

namespace {

constexpr DWORD kQueueSize = 1024;

BYTE parityCode(char parity) {
    switch (parity) {
        case 'E':
            return EVENPARITY;
        case 'O':
            return ODDPARITY;
        case 'M':
            return MARKPARITY;
        case 'S':
            return SPACEPARITY;
        default:
            return NOPARITY;
    }
}

}  // namespace

QString win32DeviceName(const QString& device) {
    static const QRegularExpression comName(QStringLiteral("^COM[0-9]+$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return comName.match(device).hasMatch() ? QStringLiteral("\\\\.\\") + device : device;
}

DCB win32LineSettings(const LineSettings& settings, DCB base) {
    DCB dcb = base;
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = DWORD(settings.baudRate);
    dcb.ByteSize = BYTE(settings.dataBits);
    dcb.Parity = parityCode(settings.parity);
    dcb.StopBits = settings.stopBits == 2 ? TWOSTOPBITS : ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = settings.parity != 'N';
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = settings.dataTerminalReady ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fTXContinueOnXoff = TRUE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    // Unused without XON/XOFF flow control, but the system refuses a block
    // whose two characters are the same.
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    // A line error must not stop every later read until it is cleared.
    dcb.fAbortOnError = FALSE;
    return dcb;
}

COMMTIMEOUTS win32Timeouts(std::chrono::milliseconds readTimeout) {
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = 0;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = DWORD(readTimeout.count());
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = 0;
    return timeouts;
}

QString win32ErrorText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    QString text = length ? QString::fromWCharArray(buffer, int(length)).trimmed() : QString();
    if (buffer) ::LocalFree(buffer);
    if (text.isEmpty()) text = QStringLiteral("error %1").arg(code);
    return text;
}

Win32SerialPort::Win32SerialPort(std::chrono::milliseconds readTimeout)
    : readTimeout_(readTimeout) {}

Win32SerialPort::~Win32SerialPort() {
    close();
}

bool Win32SerialPort::open(const QString& device) {
    error_.clear();
    close();
    const std::wstring name = win32DeviceName(device).toStdWString();
    // No sharing: a port another program holds does not open.
    handle_ = ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            0, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) {
        error_ = win32ErrorText(::GetLastError());
        return false;
    }
    // A driver that keeps queues of its own size still carries the line.
    ::SetupComm(handle_, kQueueSize, kQueueSize);
    return true;
}

bool Win32SerialPort::apply(const LineSettings& settings) {
    if (!isOpen()) return false;
    // Built from nothing rather than from what GetCommState gives: every
    // field that matters is set, and Wine cannot read the state of a
    // pseudo-terminal it maps to a COM port.
    DCB wanted = win32LineSettings(settings, DCB{});
    COMMTIMEOUTS timeouts = win32Timeouts(readTimeout_);
    if (!::SetCommState(handle_, &wanted) || !::SetCommTimeouts(handle_, &timeouts)) {
        error_ = win32ErrorText(::GetLastError());
        return false;
    }
    return true;
}

bool Win32SerialPort::isOpen() const {
    return handle_ != INVALID_HANDLE_VALUE;
}

void Win32SerialPort::write(QByteArrayView bytes) {
    const char* data = bytes.data();
    qsizetype left = bytes.size();
    while (isOpen() && left > 0) {
        DWORD written = 0;
        if (!::WriteFile(handle_, data, DWORD(left), &written, nullptr) || written == 0) return;
        data += written;
        left -= qsizetype(written);
    }
}

std::optional<std::uint8_t> Win32SerialPort::readByte() {
    if (!isOpen()) return std::nullopt;
    std::uint8_t byte = 0;
    DWORD read = 0;
    if (!::ReadFile(handle_, &byte, 1, &read, nullptr) || read != 1) return std::nullopt;
    return byte;
}

void Win32SerialPort::drain() {
    if (isOpen()) ::FlushFileBuffers(handle_);
}

void Win32SerialPort::discardInput() {
    if (isOpen()) ::PurgeComm(handle_, PURGE_RXCLEAR | PURGE_RXABORT);
}

bool Win32SerialPort::close() {
    if (!isOpen()) return true;
    const bool closed = ::CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
}

std::unique_ptr<BytePort> makeSystemSerialPort() {
    return std::make_unique<Win32SerialPort>();
}

}  // namespace tabulon::link
