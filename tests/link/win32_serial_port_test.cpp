#include "link/win32_serial_port.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/qt_print.h"

using namespace tabulon;
using namespace std::chrono_literals;

namespace {

// What the port holds before: every kind of flow control on, so a field the
// line settings forget shows up.
DCB everythingOn() {
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    dcb.fOutxCtsFlow = TRUE;
    dcb.fOutxDsrFlow = TRUE;
    dcb.fDsrSensitivity = TRUE;
    dcb.fDtrControl = DTR_CONTROL_HANDSHAKE;
    dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    dcb.fOutX = TRUE;
    dcb.fInX = TRUE;
    dcb.fErrorChar = TRUE;
    dcb.fNull = TRUE;
    dcb.fAbortOnError = TRUE;
    return dcb;
}

}  // namespace

TEST(Win32SerialPort, LineSettingsBecomeTheDeviceControlBlock) {
    struct Row {
        link::LineSettings settings;
        DWORD baud;
        BYTE byteSize, parity, stopBits;
        DWORD parityCheck, dtr;
    };
    const Row rows[] = {
        {{9600, 8, 'N', 2, true}, 9600, 8, NOPARITY, TWOSTOPBITS, FALSE, DTR_CONTROL_ENABLE},
        {{57700, 8, 'N', 2, true}, 57700, 8, NOPARITY, TWOSTOPBITS, FALSE, DTR_CONTROL_ENABLE},
        {{115200, 8, 'N', 2, true}, 115200, 8, NOPARITY, TWOSTOPBITS, FALSE, DTR_CONTROL_ENABLE},
        {{4800, 7, 'E', 1, false}, 4800, 7, EVENPARITY, ONESTOPBIT, TRUE, DTR_CONTROL_DISABLE},
        {{19200, 8, 'O', 1, true}, 19200, 8, ODDPARITY, ONESTOPBIT, TRUE, DTR_CONTROL_ENABLE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.baud);
        const DCB dcb = link::win32LineSettings(row.settings, everythingOn());
        EXPECT_EQ(dcb.DCBlength, sizeof(DCB));
        EXPECT_EQ(dcb.BaudRate, row.baud);
        EXPECT_EQ(dcb.ByteSize, row.byteSize);
        EXPECT_EQ(dcb.Parity, row.parity);
        EXPECT_EQ(dcb.StopBits, row.stopBits);
        EXPECT_EQ(dcb.fParity, row.parityCheck);
        EXPECT_EQ(dcb.fDtrControl, row.dtr);
        EXPECT_EQ(dcb.fBinary, DWORD(TRUE));
        // No flow control: DC1 and DC3 are data, and no modem line holds
        // the bytes back.
        EXPECT_EQ(dcb.fRtsControl, DWORD(RTS_CONTROL_ENABLE));
        EXPECT_EQ(dcb.XonChar, 0x11);
        EXPECT_EQ(dcb.XoffChar, 0x13);
        EXPECT_EQ(dcb.fOutxCtsFlow + dcb.fOutxDsrFlow + dcb.fDsrSensitivity + dcb.fOutX + dcb.fInX +
                      dcb.fErrorChar + dcb.fNull + dcb.fAbortOnError,
                  0u);
    }
}

TEST(Win32SerialPort, ReadsWaitForOneByteAndWritesNever) {
    for (const std::chrono::milliseconds timeout : {300ms, 50ms, 1500ms}) {
        const COMMTIMEOUTS t = link::win32Timeouts(timeout);
        EXPECT_EQ(t.ReadIntervalTimeout, 0u);
        EXPECT_EQ(t.ReadTotalTimeoutMultiplier, 0u);
        EXPECT_EQ(t.ReadTotalTimeoutConstant, DWORD(timeout.count()));
        EXPECT_EQ(t.WriteTotalTimeoutMultiplier, 0u);
        EXPECT_EQ(t.WriteTotalTimeoutConstant, 0u);
    }
}

TEST(Win32SerialPort, DeviceNames) {
    const std::pair<QString, QString> rows[] = {
        {"COM1", R"(\\.\COM1)"},
        {"COM12", R"(\\.\COM12)"},
        {"com3", R"(\\.\com3)"},
        {R"(\\.\COM4)", R"(\\.\COM4)"},
        {"COM", "COM"},
        {"COM1x", "COM1x"},
        {"C:/ports/line", "C:/ports/line"},
    };
    for (const auto& [given, opened] : rows) EXPECT_EQ(link::win32DeviceName(given), opened);
}

TEST(Win32SerialPort, FailuresCarryTheSystemsText) {
    const QString notFound = link::win32ErrorText(ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(notFound.isEmpty());
    EXPECT_FALSE(notFound.endsWith('\n') || notFound.endsWith('\r') || notFound.endsWith(' '));
    EXPECT_EQ(link::win32ErrorText(0xE0001234), "error 3758101044");

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = QDir::toNativeSeparators(dir.filePath("line"));
    QFile created(file);
    ASSERT_TRUE(created.open(QIODevice::WriteOnly));
    created.close();

    struct Row {
        const char* what;
        QString device;
        bool opens;
        bool applies;
        QString error;
    };
    const Row rows[] = {
        {"no such device", R"(\\.\TABULON-NO-SUCH-PORT)", false, false, notFound},
        // A file opens but is no serial device: its line settings fail.
        {"not a serial device", file, true, false, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        link::Win32SerialPort port;
        EXPECT_EQ(port.open(row.device), row.opens);
        EXPECT_EQ(port.isOpen(), row.opens);
        if (!row.error.isEmpty()) {
            EXPECT_EQ(port.errorString(), row.error);
        }
        EXPECT_EQ(port.apply({9600, 8, 'N', 2, true}), row.applies);
        // Whichever call failed left the system's word on it.
        EXPECT_FALSE(port.errorString().isEmpty());
        EXPECT_TRUE(port.close());
        EXPECT_FALSE(port.isOpen());
        EXPECT_EQ(port.readByte(), std::nullopt);
    }
}

TEST(Win32SerialPort, ADeviceHeldByAnotherDoesNotOpen) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = QDir::toNativeSeparators(dir.filePath("held"));
    QFile created(file);
    ASSERT_TRUE(created.open(QIODevice::WriteOnly));
    created.close();

    link::Win32SerialPort holder;
    ASSERT_TRUE(holder.open(file));
    link::Win32SerialPort other;
    EXPECT_FALSE(other.open(file));
    EXPECT_EQ(other.errorString(), link::win32ErrorText(ERROR_SHARING_VIOLATION));
    EXPECT_TRUE(holder.close());
    EXPECT_TRUE(other.open(file));
    EXPECT_TRUE(other.close());
}
