#include "link/result_text.h"

namespace tabulon::link {

namespace {

QString exchangeMeaning(int result) {
    switch (result) {
        case -1:
            return QStringLiteral("the register did not answer its select sequence");
        case -2:
            return QStringLiteral("register number outside 1 to 99");
        case -12:
            return QStringLiteral(
                "the register did not take the command, an awaited byte did not come, "
                "or a command or reply was longer than the link takes");
        case -15:
            return QStringLiteral("the register refused the record (\"E\" reply)");
        case -1000:
            return QStringLiteral("check bytes of the reply do not match");
        default:
            return QStringLiteral("unknown result");
    }
}

}  // namespace

QString resultMeaning(Operation operation, int result) {
    if (result >= 0) return QStringLiteral("done");
    switch (operation) {
        case Operation::OpenPort:
            switch (result) {
                case -1:
                    return QStringLiteral("port number outside 1 to 9");
                case -2:
                    return QStringLiteral("speed not supported");
                case -3:
                    return QStringLiteral("the port could not be opened");
                case -4:
                    return QStringLiteral("the line settings could not be built");
                case -5:
                    return QStringLiteral("the line settings could not be applied");
            }
            break;
        case Operation::ClosePort:
            if (result == -1) return QStringLiteral("that port is not open, or it did not close");
            break;
        case Operation::SelectRegister:
        case Operation::PollRegister:
            if (result == -1) return QStringLiteral("no answer from the register");
            break;
        case Operation::ReadRecord:
        case Operation::WriteRecord:
            return exchangeMeaning(result);
        case Operation::ResetLink:
            if (result == -1) return QStringLiteral("the port is not open");
            break;
        case Operation::DetectRegister:
            switch (result) {
                case -1:
                    return QStringLiteral("the port is not open");
                case -2:
                    return QStringLiteral("register number outside 1 to 99");
                case -3:
                    return QStringLiteral("no register answers with that number");
            }
            break;
    }
    return QStringLiteral("unknown result");
}

}  // namespace tabulon::link
