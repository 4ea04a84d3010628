#pragma once

// The bytes of files and devices, as the tests and the benchmarks write and
// compare them.

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QString>
#include <functional>
#include <stdexcept>
#include <utility>

namespace tabulon::testing {

// What a bounded reader says of /dev/zero. Under wine the Linux device reads
// as a plain file, which the read bound (in MiB) refuses instead.
inline QString endlessDeviceRefusal([[maybe_unused]] int boundMiB) {
#ifdef Q_OS_WIN
    return QStringLiteral("/dev/zero: larger than %1 MiB, more than any such file holds")
        .arg(boundMiB);
#else
    return QStringLiteral("/dev/zero: not a regular file (a device or a pipe)");
#endif
}

// Empty when the file cannot be read.
inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A file the test cannot write is a broken test, not a finding.
inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
}

// `count` lines, each the given bytes followed by CR LF.
inline QByteArray repeatedLines(const QByteArray& line, int count) {
    return (line + "\r\n").repeated(count);
}

// A read-only device over the bytes.
class BytesDevice : public QBuffer {
public:
    explicit BytesDevice(const QByteArray& bytes) : bytes_(bytes) {
        setBuffer(&bytes_);
        open(QIODevice::ReadOnly);
    }

private:
    QByteArray bytes_;
};

// A save file whose device gives out after a number of bytes, as a full disk
// or card does, and that can run something on its first write.
class FailingSaveFile : public QSaveFile {
public:
    FailingSaveFile(const QString& name, qint64 capacity, std::function<void()> onFirstWrite = {})
        : QSaveFile(name), capacity_(capacity), onFirstWrite_(std::move(onFirstWrite)) {}

protected:
    qint64 writeData(const char* data, qint64 length) override {
        if (onFirstWrite_) std::exchange(onFirstWrite_, {})();
        if (written_ + length > capacity_) return -1;
        written_ += length;
        return QSaveFile::writeData(data, length);
    }

private:
    qint64 capacity_;
    qint64 written_ = 0;
    std::function<void()> onFirstWrite_;
};

}  // namespace tabulon::testing
