#pragma once

#include <QString>

namespace tabulon::link {

// The link's operations; a result code means something only together with the
// operation that returned it (-1 is "bad port number" from OpenPort but "no
// answer" from ReadRecord).
enum class Operation {
    OpenPort,
    ClosePort,
    SelectRegister,
    PollRegister,
    ReadRecord,
    WriteRecord,
    ResetLink,
    DetectRegister
};

// One short line saying what a result of an operation means, e.g.
// "check bytes of the reply do not match" for ReadRecord's -1000.
QString resultMeaning(Operation operation, int result);

}  // namespace tabulon::link
