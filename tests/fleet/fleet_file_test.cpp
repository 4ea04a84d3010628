// The fleet file as an engineer writes it by hand, and every mistake named
// by its line.
#include "fleet/fleet_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <tuple>

#include "support/file_bytes.h"
#include "support/qt_print.h"
#include "text/cp1251.h"

namespace tabulon::fleet {
namespace {

TEST(FleetFile, ColumnsCommentsAndBlankLines) {
    const ParsedFleet parsed = parseFleet(
        "# Shop 12, morning\r\n"
        "\r\n"
        "kassa-1\tCOM3   115200 1 MP-550T\r\n"
        "  kassa-2 COM3 115200 2 neon   # by the door\r\n"
        "Каса-3 /dev/ttyUSB0 4800 12 mp-50-junior\n"
        "\t \n");
    ASSERT_EQ(parsed.error, "");
    // Each register as name, port, speed, number, model and line of the file.
    const auto columns = [](const FleetRegister& r) {
        return std::tuple(r.name, r.port, r.speed, r.number, r.model, r.line);
    };
    ASSERT_EQ(parsed.registers.size(), 3);
    EXPECT_EQ(columns(parsed.registers[0]),
              std::tuple(QString("kassa-1"), QString("COM3"), 115200, 1, Model::DatecsMp550T, 3));
    EXPECT_EQ(columns(parsed.registers[1]),
              std::tuple(QString("kassa-2"), QString("COM3"), 115200, 2, Model::Neon, 4));
    EXPECT_EQ(columns(parsed.registers[2]), std::tuple(QString("Каса-3"), QString("/dev/ttyUSB0"),
                                                       4800, 12, Model::DatecsMp50Junior, 5));
}

TEST(FleetFile, MistakesNameTheirLine) {
    const QString good = "a COM1 4800 1 neon\n";
    const QString device =
        ": Windows keeps it for a device (CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM0 to COM9, LPT0 "
        "to LPT9, COM¹ to COM³, LPT¹ to LPT³)";
    const struct {
        QString text;
        QString error;
    } rows[] = {
        {good + "b COM1 4800 2\n",
         "line 2: 4 columns where five are wanted: name, port, speed, register number, model"},
        {"b COM1 4800 2 neon extra\n",
         "line 1: 6 columns where five are wanted: name, port, speed, register number, model"},
        {"# none\n\n", "no registers in it"},
        {"", "no registers in it"},
        {"shop/1 COM1 4800 1 neon\n",
         "line 1: name shop/1: a name cannot hold any of /\\:*?\"<>|,"},
        {"a,b COM1 4800 1 neon\n", "line 1: name a,b: a name cannot hold any of /\\:*?\"<>|,"},
        // Names Windows keeps for its devices, whatever follows a dot:
        // backup/{name}.art would write into the device.
        {"com3 COM3 4800 1 neon\n", "line 1: name com3" + device},
        {good + "Nul.1 COM1 4800 2 neon\n", "line 2: name Nul.1" + device},
        {"LPT9 COM1 4800 1 neon\n", "line 1: name LPT9" + device},
        {"COM0 COM1 4800 1 neon\n", "line 1: name COM0" + device},
        {"com¹.txt COM1 4800 1 neon\n", "line 1: name com¹.txt" + device},
        {"CONIN$ COM1 4800 1 neon\n", "line 1: name CONIN$" + device},
        {QString(65, u'я') + " COM1 4800 1 neon\n",
         "line 1: name яяяяяяяяяяяяяяяя...: a name has at most 64 characters, this one 65"},
        // A "#" glued to a column starts a comment as one after a blank does.
        {"a COM1 4800 1 neon#x\nb COM2 4800 2#1 neon\n",
         "line 2: 4 columns where five are wanted: name, port, speed, register number, model"},
        // Windows drops a name's last dots: "a." would be the file of "a".
        {good + "b. COM1 4800 2 neon\n", "line 2: name b.: a name cannot end with a dot"},
        {".. COM1 4800 1 neon\n", "line 1: name ..: a name cannot end with a dot"},
        {good + "b COM1 1200 2 neon\n",
         "line 2: speed 1200: the speeds are 4800, 9600, 14400, 19200, 28800, 38400, 56000, "
         "57700, 115200"},
        {"b COM1 fast 2 neon\n",
         "line 1: speed fast: the speeds are 4800, 9600, 14400, 19200, 28800, 38400, 56000, "
         "57700, 115200"},
        {"b COM1 4800 0 neon\n", "line 1: register number 0: a whole number from 1 to 99"},
        {"b COM1 4800 100 neon\n", "line 1: register number 100: a whole number from 1 to 99"},
        {"b COM1 4800 -1 neon\n", "line 1: register number -1: a whole number from 1 to 99"},
        {"b COM1 4800 1x neon\n", "line 1: register number 1x: a whole number from 1 to 99"},
        {good + "\nb COM2 4800 1 mp-60\n",
         "line 3: model mp-60: the models are mp-550t, mp-50-junior and neon"},
        {good + "b COM2 4800 1 neon\nA COM3 4800 1 neon\n", "line 3: name A is already on line 1"},
        {good + "b com1 9600 1 neon\n", "line 2: register 1 on com1 is already on line 1 (a)"},
    };
    for (const auto& row : rows) {
        const ParsedFleet parsed = parseFleet(row.text);
        EXPECT_EQ(parsed.error, row.error) << qPrintable(row.text);
        EXPECT_TRUE(parsed.registers.isEmpty()) << qPrintable(row.text);
    }
}

TEST(FleetFile, TextInUtf8OrWindows1251) {
    const QString line = QStringLiteral("Каса-1 COM1 4800 1 neon\r\n");
    const QByteArray utf16(reinterpret_cast<const char*>(line.utf16()), line.size() * 2);
    const struct {
        QByteArray bytes;
        std::optional<QString> text;
    } rows[] = {{line.toUtf8(), line},
                {"\xEF\xBB\xBF" + line.toUtf8(), line},
                {*text::toCp1251(line), line},
                // Notepad's "Unicode" and "Unicode big endian": neither reading is right.
                {"\xFF\xFE" + utf16, std::nullopt},
                {"\xFE\xFF" + utf16, std::nullopt}};
    for (const auto& row : rows)
        EXPECT_EQ(fleetText(row.bytes), row.text) << row.bytes.toHex().data();

    // The system's words for a file that is not there; an endless device unread.
    QFile none("/nonexistent/fleet.txt");
    ASSERT_FALSE(none.open(QIODevice::ReadOnly));
    EXPECT_EQ(readFleetFile(none.fileName()).error,
              "/nonexistent/fleet.txt: " + none.errorString());
    EXPECT_EQ(readFleetFile("/dev/zero").error, testing::endlessDeviceRefusal(4));
}

}  // namespace
}  // namespace tabulon::fleet
