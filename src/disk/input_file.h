#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class QFile;

namespace tabulon::disk {

inline constexpr qint64 kMebibyte = 1024 * 1024;

// Why `path` names no file to read from: a pipe, a device (/dev/zero, a
// serial port), a socket or a folder. Looked at before anything is opened,
// so that a pipe with no writer is not waited on for good and an endless
// device is never read. nullopt for a regular file (through links) and for
// a name that is not there, whose opening says why in the system's words.
std::optional<QString> notAFileToRead(const QString& path);

// Opens the named `file` for reading when it is a regular file; false, with
// the reason in `error`, when it is none or does not open.
bool openToRead(QFile& file, QString& error);

struct WholeFile {
    QByteArray bytes;
    QString error;          // set: nothing was read
    bool tooLarge = false;  // it was refused for its size
};

// The whole of a regular file of at most `limit` bytes. A larger one is
// refused unread: the readers take their files in whole, and a name given
// by mistake (a disk image, a log) must not take the memory with it.
WholeFile readWholeFile(const QString& path, qint64 limit);

}  // namespace tabulon::disk
