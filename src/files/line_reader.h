#pragma once

#include <QByteArray>

class QIODevice;

namespace tabulon::files {

// Takes a table file apart into lines the way the register's files have
// always been read: CR LF counts as one line feed, a lone LF ends a line too,
// and a line is at most 199 bytes including its line feed. The rest of a
// longer line comes back as the next line. Every other byte, 0x00 and 0x1A
// included, is data.
class LineReader {
public:
    static constexpr qsizetype kMaxLineBytes = 199;

    enum class Status { Line, End, Error };

    explicit LineReader(QIODevice& device) : device_(device) {}

    // Line: `line` holds the bytes, with its line feed (as "\n") if it had one.
    // End: nothing was left. Error: the device failed to read.
    Status next(QByteArray& line);

    // The line last handed out filled the 199 bytes before its line feed came:
    // what is left of that file line comes back as the next line.
    bool lastLineCut() const { return cut_; }
    // The file line (from 1) the line last handed out was taken from; the
    // rest of a cut line counts with the line it was cut from.
    int fileLine() const { return fileLine_; }

private:
    // Makes `count` bytes available from pos_ unless the file ends first.
    bool ensure(qsizetype count);

    QIODevice& device_;
    QByteArray buffer_;
    qsizetype pos_ = 0;
    bool atEnd_ = false;
    bool failed_ = false;
    bool cut_ = false;
    int fileLine_ = 0;
};

}  // namespace tabulon::files
