#include "fleet/fleet_file.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

#include "disk/input_file.h"
#include "link/line_bytes.h"
#include "link/line_settings.h"
#include "text/cp1251.h"
#include "text/whole_number.h"

namespace tabulon::fleet {

namespace {

// Characters a file name cannot hold on one system or the other: the name
// becomes part of file names through {name}.
const QString kNotInNames = QStringLiteral("/\\:*?\"<>|,");

// Names Windows keeps for its devices, with or without an extension: a file
// "COM3.art" there is the serial port. It takes the superscript digits for
// COM and LPT numbers too, and keeps COM0 and LPT0.
bool deviceName(const QString& name) {
    static const QRegularExpression device(
        QStringLiteral("^(CON|PRN|AUX|NUL|CONIN\\$|CONOUT\\$|(COM|LPT)[0-9\u00B9\u00B2\u00B3])"
                       "(\\..*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    return device.match(name).hasMatch();
}

// Long enough for any shop's name for a register; a name goes into file
// names, which many systems cut at 255 bytes, with the folder and extension
// around it and two bytes a Cyrillic letter.
constexpr qsizetype kLongestName = 64;

// The columns of a line with its comment taken away.
QStringList columnsOf(const QString& line) {
    static const QRegularExpression blanks(QStringLiteral("[ \\t]+"));
    static const QRegularExpression comment(QStringLiteral("#.*$"));
    QString text = line;
    text.remove(comment);
    return text.split(blanks, Qt::SkipEmptyParts);
}

// Why a register line is wrong; empty when it is right.
QString checkColumns(const QStringList& columns, FleetRegister& entry) {
    if (columns.size() != 5) {
        return QStringLiteral(
                   "%1 columns where five are wanted: name, port, speed, register number, model")
            .arg(columns.size());
    }
    entry.name = columns[0];
    if (entry.name.size() > kLongestName) {
        return QStringLiteral("name %1...: a name has at most %2 characters, this one %3")
            .arg(entry.name.left(16))
            .arg(kLongestName)
            .arg(entry.name.size());
    }
    for (QChar c : entry.name) {
        if (kNotInNames.contains(c) || c.unicode() < 0x20) {
            return QStringLiteral("name %1: a name cannot hold any of %2")
                .arg(entry.name, kNotInNames);
        }
    }
    if (deviceName(entry.name)) {
        return QStringLiteral(
                   "name %1: Windows keeps it for a device (CON, PRN, AUX, NUL, CONIN$, "
                   "CONOUT$, COM0 to COM9, LPT0 to LPT9, COM¹ to COM³, LPT¹ to LPT³)")
            .arg(entry.name);
    }
    // Windows drops the last dots of a name: "a." would be the file of "a".
    if (entry.name.endsWith(u'.'))
        return QStringLiteral("name %1: a name cannot end with a dot").arg(entry.name);
    entry.port = columns[1];
    const std::optional<int> speed = text::wholeNumber(columns[2]);
    if (!speed || !link::speedText(*speed))
        return QStringLiteral("speed %1: the speeds are %2").arg(columns[2], link::speedList());
    entry.speed = *speed;
    const std::optional<int> number = text::wholeNumber(columns[3]);
    if (!number || *number < 1 || *number > link::kHighestRegister) {
        return QStringLiteral("register number %1: a whole number from 1 to %2")
            .arg(columns[3])
            .arg(link::kHighestRegister);
    }
    entry.number = *number;
    const std::optional<Model> model = modelFromName(columns[4]);
    if (!model) {
        return QStringLiteral("model %1: the models are mp-550t, mp-50-junior and neon")
            .arg(columns[4]);
    }
    entry.model = *model;
    return QString();
}

}  // namespace

ParsedFleet parseFleet(const QString& text) {
    ParsedFleet parsed;
    // Earlier registers by name and by port and number: a chain's file of
    // thousands of lines is checked in one pass.
    QHash<QString, qsizetype> names;
    QHash<std::pair<QString, int>, qsizetype> places;
    const QStringList lines = text.split(u'\n');
    for (qsizetype index = 0; index < lines.size(); ++index) {
        QString line = lines[index];
        if (line.endsWith(u'\r')) line.chop(1);
        const QStringList columns = columnsOf(line);
        if (columns.isEmpty()) continue;
        FleetRegister entry;
        entry.line = int(index + 1);
        const auto fail = [&](const QString& why) {
            return ParsedFleet{{}, QStringLiteral("line %1: %2").arg(entry.line).arg(why)};
        };
        if (const QString wrong = checkColumns(columns, entry); !wrong.isEmpty())
            return fail(wrong);
        // Names become file names, which Windows does not tell apart by case.
        const QString nameKey = entry.name.toCaseFolded();
        const std::pair<QString, int> placeKey{entry.port.toCaseFolded(), entry.number};
        if (const auto earlier = names.constFind(nameKey); earlier != names.constEnd()) {
            return fail(QStringLiteral("name %1 is already on line %2")
                            .arg(entry.name)
                            .arg(parsed.registers[*earlier].line));
        }
        if (const auto earlier = places.constFind(placeKey); earlier != places.constEnd()) {
            const FleetRegister& first = parsed.registers[*earlier];
            return fail(QStringLiteral("register %1 on %2 is already on line %3 (%4)")
                            .arg(entry.number)
                            .arg(entry.port)
                            .arg(first.line)
                            .arg(first.name));
        }
        names.insert(nameKey, parsed.registers.size());
        places.insert(placeKey, parsed.registers.size());
        parsed.registers << entry;
    }
    if (parsed.registers.isEmpty()) parsed.error = QStringLiteral("no registers in it");
    return parsed;
}

std::optional<QString> fleetText(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) return std::nullopt;
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) return text::fromCp1251(bytes);
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    return text;
}

ParsedFleet readFleetFile(const QString& path) {
    // Fifty thousand registers of a chain's file take some 4 MB at most.
    const disk::WholeFile file = disk::readWholeFile(path, 4 * disk::kMebibyte);
    if (!file.error.isEmpty())
        return ParsedFleet{{}, QStringLiteral("%1: %2").arg(path, file.error)};
    const std::optional<QString> text = fleetText(file.bytes);
    if (!text) {
        return ParsedFleet{
            {}, QStringLiteral("%1: UTF-16 text: save it as UTF-8 or Windows-1251").arg(path)};
    }
    ParsedFleet parsed = parseFleet(*text);
    if (!parsed.error.isEmpty()) parsed.error = QStringLiteral("%1: %2").arg(path, parsed.error);
    return parsed;
}

}  // namespace tabulon::fleet
