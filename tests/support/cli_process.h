#pragma once

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include "support/cp1251.h"
#include "support/file_bytes.h"
#include "support/sim_process.h"

using tabulon::testing::cp1251Lines, tabulon::testing::readFile, tabulon::testing::writeFile;

// tabulon-cli run as a program, and the files and register logs its tests
// look at.

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

inline CliRun cli(const QStringList& arguments, const QString& workingDirectory = QString()) {
    QProcess process;
    if (!workingDirectory.isEmpty()) process.setWorkingDirectory(workingDirectory);
    process.start(QStringLiteral(TABULON_CLI_PATH), arguments);
    if (!process.waitForFinished(120000)) return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// The register's pseudo-terminal at a speed it takes.
inline QStringList on(const SimProcess& ecr, const QStringList& rest) {
    return QStringList{"--port", ecr.path(), "--speed", "115200"} + rest;
}

// `count` empty lines of a table with `values` values each.
inline QStringList emptyLines(int count, int values) {
    return QStringList(count, QString(values, u';'));
}

// The commands the register took, from its --log.
inline QStringList commandsIn(const QString& log) {
    QStringList commands;
    static const QRegularExpression command(QStringLiteral("^command: (.*)$"),
                                            QRegularExpression::MultilineOption);
    for (auto it = command.globalMatch(log); it.hasNext();) commands << it.next().captured(1);
    return commands;
}
