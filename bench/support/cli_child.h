#pragma once

// tabulon-cli run as a child program by the benchmarks that time whole
// commands, and the goods file they give it.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <QByteArray>
#include <QStringList>
#include <chrono>
#include <vector>

#include "support/cp1251.h"

extern char** environ;

namespace bench {

// Goods rows as a shop has them (names up to 32 letters, prices, barcodes),
// `filled` of them, then empty rows up to `lines`.
inline QByteArray shopGoodsFile(int lines, int filled) {
    QStringList rows;
    for (int row = 1; row <= lines; ++row) {
        const QString line =
            row > filled ? QStringLiteral(";;;;;;;;;;")
                         : QStringLiteral(
                               "%1;Олія соняшникова нерафінов. %2;%3.%4;%5.000;%6;1;1;1;0;48200%7;")
                               .arg(row)
                               .arg(row % 1000)
                               .arg(row % 500 + 1)
                               .arg(row % 100, 2, 10, QLatin1Char('0'))
                               .arg(row % 40)
                               .arg(row % 20 + 1)
                               .arg(row, 8, 10, QLatin1Char('0'));
        rows << line;
    }
    return tabulon::testing::cp1251Lines(rows);
}

struct ChildRun {
    int status = -1;
    double wallSeconds = 0;
    double cpuSeconds = 0;     // user and system, from wait4
    double peakMegabytes = 0;  // its peak resident memory, from wait4
};

// tabulon-cli with `arguments`, its output thrown away.
inline ChildRun runCli(const QStringList& arguments) {
    std::vector<QByteArray> words{QByteArray(TABULON_CLI_PATH)};
    for (const QString& argument : arguments) words.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    ChildRun run;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        run.wallSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        run.cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                         double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
        run.peakMegabytes = double(usage.ru_maxrss) / 1024;
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

}  // namespace bench
