#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace tabulon {

// Why a row or a parameter tab gave no record. Nothing is sent then: the
// message is for the user, and the run decides what happens next.
struct RecordError {
    enum class Kind {
        NotANumber,     // a price or quantity cell that is not a number
        NotInCodePage,  // a character Windows-1251 cannot carry
        Control,        // a control character (a NUL would end the record early)
        TooLong,        // the write command would pass what the register link takes
    };
    Kind kind;
    QString message;
    QString english;  // the same for the command line, which speaks English
};

// The record data to write (Windows-1251 bytes, each field followed by ";"),
// or the reason there is none.
struct BuiltRecord {
    QByteArray text;
    std::optional<RecordError> error;

    bool ok() const { return !error.has_value(); }
};

// Where a grid row goes: the goods rows of a coding interval land in records
// other than their row numbers.
struct RecordPlace {
    int row;     // grid row, named in messages
    int record;  // register record the row is written into
};

}  // namespace tabulon
