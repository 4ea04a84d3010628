#include "cli/cli_run.h"

#include "link/result_text.h"
#include "text/cp1251.h"

namespace tabulon::cli {

namespace {

using link::Operation;

QString failure(Operation operation, int result, const QString& detail = QString()) {
    const QString meaning = link::resultMeaning(operation, result);
    QString line = QStringLiteral("error %1: %2").arg(result).arg(meaning);
    if (!detail.isEmpty() && detail != meaning) line += QStringLiteral(" (%1)").arg(detail);
    return line;
}

Operation operationOf(CliRequest::Command command) {
    switch (command) {
        case CliRequest::Command::Detect:
            return Operation::DetectRegister;
        case CliRequest::Command::Read:
            return Operation::ReadRecord;
        case CliRequest::Command::Write:
            return Operation::WriteRecord;
        case CliRequest::Command::Reset:
            return Operation::ResetLink;
    }
    return Operation::DetectRegister;
}

}  // namespace

CliResult runCliRequest(const CliRequest& request, link::RegisterLink& link, int portNumber) {
    CliResult result;
    QByteArray data;
    if (request.command == CliRequest::Command::Write) {
        const std::optional<QByteArray> encoded = text::toCp1251(request.data);
        if (!encoded) {
            const qsizetype at = text::firstNonCp1251(request.data);
            return {
                1, QString(),
                QStringLiteral("error: DATA holds a character that Windows-1251 cannot encode: %1")
                    .arg(text::describeCharacter(request.data, at))};
        }
        data = *encoded;
    }

    const int opened = link.OpenPort(portNumber, request.speed);
    if (opened < 0)
        return {1, QString(), failure(Operation::OpenPort, opened, link.openErrorText())};

    int done = 0;
    switch (request.command) {
        case CliRequest::Command::Detect:
            done = link.DetectRegister(request.registerNumber);
            if (done >= 0) result.output = QStringLiteral("found\n");
            break;
        case CliRequest::Command::Read: {
            QByteArray reply;
            done = link.ReadRecord(request.registerNumber, request.table, request.record, reply);
            if (done >= 0) result.output = text::fromCp1251(reply) + u'\n';
            break;
        }
        case CliRequest::Command::Write:
            done = link.WriteRecord(request.registerNumber, request.table, request.record, data);
            break;
        case CliRequest::Command::Reset:
            done = link.ResetLink();
            break;
    }
    const int closed = link.ClosePort(portNumber);

    if (done < 0) {
        result.status = 1;
        result.error = failure(operationOf(request.command), done);
    } else if (closed < 0) {
        result.status = 1;
        result.error = failure(Operation::ClosePort, closed);
    }
    return result;
}

}  // namespace tabulon::cli
