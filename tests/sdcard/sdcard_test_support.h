#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QString>
#include <QStringList>

#include "catalogue/grid_model.h"

namespace tabulon::sdcard::testing {

// Windows-1251 bytes of a text written in the test as UTF-8.
QByteArray cp1251(const QString& text);

// `count` lines, each the given bytes followed by CR LF.
QByteArray repeatedLines(const QByteArray& line, int count);

// A card file of `count` records: the line `first` for record 1, then
// numbered records "n;n;...", each with CR LF.
QByteArray uploadLines(int count, const QByteArray& first = {});
QByteArray salesLines(int count);

// A read-only device over the bytes.
class BytesDevice : public QBuffer {
public:
    explicit BytesDevice(const QByteArray& bytes);

private:
    QByteArray bytes_;
};

void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

}  // namespace tabulon::sdcard::testing
