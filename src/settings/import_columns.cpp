#include "settings/import_columns.h"

#include <QCryptographicHash>

#include "settings/profile_file.h"

namespace tabulon::settings {

namespace {
const QString kSection = QStringLiteral("Import");
constexpr int kLongestValue = 499;
}  // namespace

QString importLayoutKey(const QString& table, const QStringList& headings) {
    // Headings match as the importer matches them: in any letter case and
    // without blanks around them.
    QStringList normal{table};
    for (const QString& heading : headings) normal << heading.trimmed().toLower();
    const QByteArray digest =
        QCryptographicHash::hash(normal.join(u'\x1f').toUtf8(), QCryptographicHash::Sha1);
    return QString::fromLatin1(digest.left(4).toHex());
}

std::optional<QList<int>> rememberedImportColumns(const ProfileFile& file, const QString& table,
                                                  const QStringList& headings) {
    const QString value =
        file.read(kSection, importLayoutKey(table, headings), QString(), kLongestValue);
    const QStringList words = value.split(u',');
    // A list for another number of columns is no answer for this file.
    if (value.isEmpty() || words.size() != headings.size()) return std::nullopt;
    QList<int> columns;
    for (const QString& word : words) {
        bool ok = false;
        const int column = word.trimmed().toInt(&ok);
        if (!ok) return std::nullopt;
        columns << column;
    }
    return columns;
}

void rememberImportColumns(const ProfileFile& file, const QString& table,
                           const QStringList& headings, const QList<int>& columns) {
    QStringList words;
    for (int column : columns) words << QString::number(column);
    const QString value = words.join(u',');
    if (headings.isEmpty() || value.size() > kLongestValue) return;
    const QString key = importLayoutKey(table, headings);
    if (file.read(kSection, key, QString(), kLongestValue) == value) return;
    file.write(kSection, key, value);
}

}  // namespace tabulon::settings
