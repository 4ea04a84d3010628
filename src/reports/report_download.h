#pragma once

#include <QString>
#include <optional>

#include "transfer/run_parts.h"

namespace tabulon::link {
class RegisterLink;
}

namespace tabulon::reports {

// One report file as the download starts it.
struct ReportStart {
    QString fileName;  // as its field holds it
    QString path;      // where it goes: the directory and the name joined
    int records = 0;
};

// The user's choices, asked for when the download needs them, so that edits
// made while it runs count from the next report (the separator from the
// next line). Called on the download's thread.
class DownloadChoices {
public:
    virtual ~DownloadChoices() = default;
    // nullopt when report `index` is not ticked.
    virtual std::optional<ReportStart> reportStarts(int index) = 0;
    // nullopt when the separator field is empty or holds a character the
    // files cannot carry.
    virtual std::optional<char> separator() = 0;
};

class DownloadProgress {
public:
    virtual ~DownloadProgress() = default;
    virtual void reportStarted(int index, const ReportStart& start) = 0;
    // The line of `record` is in the file.
    virtual void lineWritten(int index, int record) = 0;
};

struct DownloadEnd {
    enum class How {
        Finished,      // every ticked report read and written
        NotCreated,    // a report file could not be created
        RecordFailed,  // a record failed ten times and the user skipped or ended
        WriteFailed,   // the file could not be written whole; the earlier one stays
        NoSeparator,   // the separator field became empty or unusable
        Stopped,       // "Стоп": ended after the record in hand
        Cancelled,     // the program is closing; the report in hand was not written
    };
    How how = How::Finished;
    int report = -1;     // the report in hand when it ended
    ReportStart file;    // and its file
    int lines = 0;       // lines that file holds
    int record = 0;      // the record in hand
    int linkResult = 0;  // the link's last result for it
    QString fileError;   // the system's words, for NotCreated and WriteFailed

    bool finished() const { return how == How::Finished; }
};

struct DownloadParts {
    link::RegisterLink& link;
    transfer::Connection connection;
    transfer::RunDialogs& dialogs;
    transfer::RunControl& control;
    DownloadChoices& choices;
    DownloadProgress* progress = nullptr;
};

// Reads the ticked reports in their order, each record by the ten-attempt
// policy, into a file each, replacing what was there. A failed record ends
// the whole download, also after "Пропустить" (the port is reopened first):
// a report with a line missing would pass for a whole one. "Стоп" ends it
// after the record in hand, as "Завершить операцию" does, and returns the
// registers to idle. Each file is closed before the next one is begun, and
// when the download ends early with the lines read so far; a file that
// cannot be written whole, or a report cut short by the program closing
// (nobody is left to be told it is short), leaves the earlier one as it was.
DownloadEnd downloadReports(DownloadParts& parts);

}  // namespace tabulon::reports
