// The settings-file reader and writer. The first bytes pick a key and a value
// to write, the rest is Tabulon.ini. Whatever the file holds, a value read is
// never longer than asked for, a written value reads back as written, and the
// other keys read as they did.
#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <array>

#include "fuzz_check.h"
#include "settings/profile_file.h"
#include "text/cp1251.h"

using namespace tabulon;

namespace {

struct Key {
    const char* section;
    const char* key;
};

// The program's own keys, and names that differ from them only in ways the
// file may spell them.
constexpr std::array<Key, 10> kKeys{{
    {"Communication", "Speed"},
    {"Communication", "SerialPort"},
    {"TypeECR", "ECR"},
    {"Reports", "Directory"},
    {"Reports", "RepArt"},
    {"Ports", "COM3"},
    {"communication", "speed"},
    {"REPORTS", "DIRECTORY"},
    {"Отчёты", "Папка"},
    {"", "Speed"},
}};

constexpr std::array<const char*, 8> kValues{{
    "4800",
    "COM1",
    "",
    "/home/user/Отчеты/",
    "C:\\Rep\\",
    "a=b",
    "Müller",
    " 0 ",
}};

// Where every run writes its file: one directory for the whole campaign.
QString iniPath() {
    static QTemporaryDir directory;
    return directory.filePath(QStringLiteral("Tabulon.ini"));
}

void putFile(const QString& path, QByteArrayView bytes) {
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes.data(), bytes.size()) == bytes.size());
}

// A value comes back as written when it has no blanks or quotes at its ends
// to lose, and its Windows-1251 bytes cannot pass for UTF-8 (the reader's
// way of telling the two apart).
bool readsBackExactly(const QString& value) {
    if (value != value.trimmed()) return false;
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return false;
    const std::optional<QByteArray> bytes = text::toCp1251(value);
    if (!bytes) return true;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString asUtf8 = utf8(*bytes);
    return utf8.hasError() || *bytes == value.toLatin1();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Choices choices(data, size);
    const Key& target = kKeys[choices.next() % kKeys.size()];
    const QString value = QString::fromUtf8(kValues[choices.next() % kValues.size()]);
    const int maxLength = choices.next();

    const QString path = iniPath();
    putFile(path, QByteArrayView(data, qsizetype(size)));

    const settings::ProfileFile before(path);
    std::array<QString, kKeys.size()> was;
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        was[i] = before.read(QString::fromUtf8(kKeys[i].section), QString::fromUtf8(kKeys[i].key),
                             QStringLiteral("-"), 499);
        const QString cut = before.read(QString::fromUtf8(kKeys[i].section),
                                        QString::fromUtf8(kKeys[i].key), QString(), maxLength);
        FUZZ_CHECK(cut.size() <= maxLength);
        FUZZ_CHECK(was[i].startsWith(cut) || was[i] == QStringLiteral("-"));
    }

    const QString section = QString::fromUtf8(target.section);
    const QString key = QString::fromUtf8(target.key);
    FUZZ_CHECK(before.write(section, key, value));

    const settings::ProfileFile after(path);
    if (readsBackExactly(value)) {
        FUZZ_CHECK(after.read(section, key, QStringLiteral("-"), 499) == value);
    }
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        const QString otherSection = QString::fromUtf8(kKeys[i].section);
        const QString otherKey = QString::fromUtf8(kKeys[i].key);
        // Names match without regard to case and surrounding blanks.
        if (otherSection.trimmed().compare(section.trimmed(), Qt::CaseInsensitive) == 0 &&
            otherKey.compare(key, Qt::CaseInsensitive) == 0)
            continue;
        FUZZ_CHECK(after.read(otherSection, otherKey, QStringLiteral("-"), 499) == was[i]);
    }
    return 0;
}
