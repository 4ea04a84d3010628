#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace tabulon::settings {

// An INI file read and written one key at a time, the way the Windows
// profile-string functions do it, so that a Tabulon.ini moved between the two
// systems reads the same and is changed only where a key is written.
//
// QSettings is no use here: it rewrites the whole file in its own layout.
//
// The file is read from disk once, at the first read or write, and kept; the
// writes go through the kept copy to the file. One object serves one start-up
// (or one look-up), so a file of many megabytes costs one read, not one per
// key.
class ProfileFile {
public:
    explicit ProfileFile(QString path) : path_(std::move(path)) {}

    const QString& path() const { return path_; }
    bool exists() const;

    // The value of section/key, or the default when the file, the section or
    // the key is missing. Names match without regard to letter case, blanks
    // around names and values are dropped, a value in a pair of matching
    // quotes loses them, and the result is cut to maxLength characters.
    // Text that is valid UTF-8 with at least one byte above 127 is read as
    // UTF-8 (what this program writes for a character Windows-1251 lacks),
    // anything else as Windows-1251. A UTF-8 byte-order mark at the start of
    // the file is not part of the first line.
    QString read(const QString& section, const QString& key, const QString& defaultValue,
                 int maxLength) const;

    // Sets section/key: an existing key is replaced in its place, keeping the
    // spelling of the key (and of its section) that the file has; a new key
    // goes at the end of its section, a new section at the end of the file.
    // Every other byte of the file stays as it was, a byte-order mark
    // included. False when the file cannot be written.
    bool write(const QString& section, const QString& key, const QString& value) const;

private:
    struct Content {
        QByteArray byteOrderMark;  // empty or the three bytes of UTF-8's
        QByteArray text;           // the rest of the file
    };
    Content& content() const;

    QString path_;
    mutable std::optional<Content> content_;
};

}  // namespace tabulon::settings
