#pragma once

#include <QByteArray>
#include <QString>

namespace tabulon::settings {

// An INI file read and written one key at a time, the way the Windows
// profile-string functions do it, so that a Tabulon.ini moved between the two
// systems reads the same and is changed only where a key is written.
//
// QSettings is no use here: it rewrites the whole file in its own layout.
class ProfileFile {
public:
    explicit ProfileFile(QString path) : path_(std::move(path)) {}

    const QString& path() const { return path_; }
    bool exists() const;

    // The value of section/key, or the default when the file, the section or
    // the key is missing. Names match without regard to letter case, blanks
    // around names and values are dropped, a value in a pair of matching
    // quotes loses them, and the result is cut to maxLength characters.
    QString read(const QString& section, const QString& key, const QString& defaultValue,
                 int maxLength) const;

    // Sets section/key: an existing key is replaced in its place, a new key
    // goes at the end of its section, a new section at the end of the file.
    // Every other byte of the file stays as it was. False when the file
    // cannot be written.
    bool write(const QString& section, const QString& key, const QString& value) const;

private:
    QByteArray load() const;
    QString path_;
};

}  // namespace tabulon::settings
