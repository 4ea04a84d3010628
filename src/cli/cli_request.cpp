#include "cli/cli_request.h"

#include <QRegularExpression>

namespace tabulon::cli {

namespace {

std::optional<int> wholeNumber(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

}  // namespace

QString cliUsage() {
    return QStringLiteral(
        "Usage: tabulon-cli [--port NAME] [--speed N] [--register N] COMMAND\n"
        "Talks to one cash register on a serial line: opens the port, does the one\n"
        "operation, and closes the port again.\n"
        "\n"
        "  --port NAME      COM1 to COM9 (mapped through [Ports] of Tabulon.ini in the\n"
        "                   working directory, else /dev/ttyS0 to /dev/ttyS8) or a\n"
        "                   device path; default COM1\n"
        "  --speed N        4800, 9600, 14400, 19200, 28800, 38400, 56000, 57700 or\n"
        "                   115200; default 4800\n"
        "  --register N     the register's number, 1 to 99; default 1\n"
        "  --help           show this text\n"
        "\n"
        "Commands:\n"
        "  detect                      check that the register answers; prints \"found\"\n"
        "  read TABLE RECORD           read a record; prints the register's reply\n"
        "  write TABLE RECORD DATA     write DATA (fields each closed by \";\") into a record\n"
        "  reset                       release the line and pause for a second\n"
        "\n"
        "Exit status: 0 done, 1 the register or the port failed (the error and its\n"
        "code on standard error), 2 the command line is wrong.\n");
}

std::optional<int> comPortNumber(const QString& port) {
    static const QRegularExpression com(QStringLiteral("^COM([1-9])$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = com.match(port);
    return match.hasMatch() ? std::optional<int>(match.captured(1).toInt()) : std::nullopt;
}

ParsedCliRequest parseCliRequest(const QStringList& arguments) {
    CliRequest request;
    const auto fail = [](const QString& error) { return ParsedCliRequest{std::nullopt, error}; };
    QStringList words;

    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString name = arguments[i];
        if (!name.startsWith(u"--") || name == u"--") {
            if (name == u"--") {
                words += arguments.mid(i + 1);
                break;
            }
            words << name;
            continue;
        }
        std::optional<QString> value;
        if (const qsizetype eq = name.indexOf(u'='); eq > 0) {
            value = name.mid(eq + 1);
            name.truncate(eq);
        }
        if (name == u"--help") {
            request.help = true;
            continue;
        }
        if (!value && i + 1 < arguments.size()) value = arguments[++i];
        if (!value) return fail(QStringLiteral("%1 needs a value").arg(name));

        if (name == u"--port") {
            if (!comPortNumber(*value) && !value->contains(u'/'))
                return fail(QStringLiteral("--port takes COM1 to COM9 or a device path"));
            request.port = *value;
        } else if (name == u"--speed") {
            const auto speed = wholeNumber(*value);
            if (!speed) return fail(QStringLiteral("--speed takes a whole number"));
            request.speed = *speed;
        } else if (name == u"--register") {
            const auto number = wholeNumber(*value);
            if (!number) return fail(QStringLiteral("--register takes a whole number"));
            request.registerNumber = *number;
        } else {
            return fail(QStringLiteral("unknown option %1").arg(name));
        }
    }
    if (request.help) return ParsedCliRequest{request, QString()};
    if (words.isEmpty()) return fail(QStringLiteral("no command"));

    const QString command = words.takeFirst();
    struct Shape {
        const char16_t* name;
        CliRequest::Command command;
        qsizetype arguments;
    };
    static const Shape shapes[] = {{u"detect", CliRequest::Command::Detect, 0},
                                   {u"read", CliRequest::Command::Read, 2},
                                   {u"write", CliRequest::Command::Write, 3},
                                   {u"reset", CliRequest::Command::Reset, 0}};
    const Shape* shape = nullptr;
    for (const Shape& candidate : shapes) {
        if (command == QStringView(candidate.name)) shape = &candidate;
    }
    if (!shape) return fail(QStringLiteral("unknown command %1").arg(command));
    if (words.size() != shape->arguments)
        return fail(QStringLiteral("%1 takes %2 argument(s)").arg(command).arg(shape->arguments));

    request.command = shape->command;
    if (shape->arguments >= 2) {
        const auto table = wholeNumber(words[0]);
        const auto record = wholeNumber(words[1]);
        if (!table || !record) return fail(QStringLiteral("TABLE and RECORD are whole numbers"));
        request.table = *table;
        request.record = *record;
    }
    if (shape->arguments == 3) request.data = words[2];
    return ParsedCliRequest{request, QString()};
}

}  // namespace tabulon::cli
