#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>

class QIODevice;

namespace tabulon {
class GridModel;
}

namespace tabulon::sdcard {

// The two files a Neon register leaves on its SD card, shown side by side in
// the sales grid: "upload.art" holds the goods, "sales.art" the sales of the
// same articles in the same order.
enum class CardFile { Upload, Sales };

struct CardFileLayout {
    QString fileName;
    int firstColumn;  // grid column of the first shown field
    int fields;       // fields shown, after the leading one
    // Where the search for the ";" that ends the leading field starts: a
    // sales line's leading field is never empty.
    int leadingSearchFrom;
};

const CardFileLayout& cardFileLayout(CardFile file);

// The shown fields of one line as read (line end included), always
// layout.fields of them. A field ends at its ";" or, for the last one, at
// the end of the line; up to two CR/LF characters at its end are dropped.
// Fields the line has no text for are empty. In "upload.art" the dashes of a
// name stand for spaces and come back as spaces.
QStringList cardLineFields(QStringView line, CardFile file);

enum class CardReadOutcome {
    Complete,
    // The file ended before its 10000th non-blank line.
    EndOfFile,
    // The device could not be read.
    DeviceError,
};

struct CardReadResult {
    CardReadOutcome outcome;
    int rowsFilled;  // rows 1..rowsFilled hold the file's lines
};

// Fills the file's columns of rows 1 to 10000 of the sales grid from its
// non-blank lines, row by row; lines after the 10000th are not read. A file
// that stops early leaves the rows not reached as they were. Calls `lineRead`
// after each filled row.
CardReadResult readCardFile(QIODevice& device, CardFile file, GridModel& sales,
                            const std::function<void()>& lineRead = {});

}  // namespace tabulon::sdcard
