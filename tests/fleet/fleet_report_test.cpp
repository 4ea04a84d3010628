// The table and the CSV report of a fleet run, and the report read back for
// --only-failed.
#include "fleet/fleet_report.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "support/file_bytes.h"
#include "support/qt_print.h"

namespace tabulon::fleet {
namespace {

const QList<RegisterOutcome> kOutcomes{
    {"kassa-1", Outcome::Done, 10000, 0, 0, 185'400, ""},
    {"kassa-2", Outcome::Failed, 4999, 1, 5000, 93'049,
     "record 5000: the register refused the record (\"E\" reply)"},
    {"склад", Outcome::Refused, std::nullopt, std::nullopt, std::nullopt, 0,
     "g.art: cannot open, a, b"},
    {"k4", Outcome::Stopped, 12, 0, 9988, 3'725'000, "stopped by a signal"},
    {"k5", Outcome::NotRun, std::nullopt, std::nullopt, std::nullopt, 0,
     "stopped by a signal before its turn"},
};

TEST(FleetReport, TableAndCsv) {
    EXPECT_EQ(fleetTable(kOutcomes),
              "register  outcome   done  failed  skipped     time  reason\n"
              "kassa-1   done     10000       0        0     3:05\n"
              "kassa-2   failed    4999       1     5000     1:33  record 5000: the register "
              "refused the record (\"E\" reply)\n"
              "склад     refused      -       -        -     0:00  g.art: cannot open, a, b\n"
              "k4        stopped     12       0     9988  1:02:05  stopped by a signal\n"
              "k5        not run      -       -        -     0:00  stopped by a signal before its "
              "turn\n");
    EXPECT_EQ(fleetCsv(kOutcomes),
              QString("register,outcome,done,failed,skipped,seconds,reason\n"
                      "kassa-1,done,10000,0,0,185.4,\n"
                      "kassa-2,failed,4999,1,5000,93.0,\"record 5000: the register refused the "
                      "record (\"\"E\"\" reply)\"\n"
                      "склад,refused,,,,0.0,\"g.art: cannot open, a, b\"\n"
                      "k4,stopped,12,0,9988,3725.0,stopped by a signal\n"
                      "k5,not run,,,,0.0,stopped by a signal before its turn\n"
                      "# 5 registers\n")
                  .toUtf8());
}

TEST(FleetReport, ReadBackAsWritten) {
    QTemporaryDir directory;
    const QString path = directory.filePath("report.csv");
    ASSERT_EQ(writeFleetReport(path, kOutcomes), std::nullopt);
    const ReadReport report = readFleetReport(path);
    ASSERT_EQ(report.error, "");
    // Everything as written, the times to the tenth of a second the file keeps.
    EXPECT_EQ(fleetCsv(report.outcomes), fleetCsv(kOutcomes));
    EXPECT_EQ(unfinishedNames(report.outcomes), (QStringList{"kassa-2", "склад", "k4", "k5"}));

    // A spreadsheet saves it with CR LF.
    QByteArray crlf = fleetCsv(kOutcomes);
    crlf.replace("\n", "\r\n");
    EXPECT_EQ(parseFleetCsv(crlf).outcomes.size(), kOutcomes.size());

    const QString nowhere = directory.filePath("none/report.csv");
    const QString refused = writeFleetReport(nowhere, kOutcomes).value_or("");
    EXPECT_TRUE(refused.startsWith(nowhere + ": not written: ")) << qPrintable(refused);
    EXPECT_GT(refused.size(), nowhere.size() + 15);
    EXPECT_FALSE(QFile::exists(nowhere));
}

TEST(FleetReport, WhatIsNoReport) {
    const QByteArray header = "register,outcome,done,failed,skipped,seconds,reason\n";
    const QString cut =
        "cut short: its last line is not \"# N registers\" counting the registers above it";
    const struct {
        QByteArray bytes;
        QString error;
    } rows[] = {
        {"", "not a fleet report (its first line is not the header)"},
        {"a COM1 4800 1 neon\n", "not a fleet report (its first line is not the header)"},
        {header + "k1,done,1,0,0,1.0\n", "line 2 is not a register's outcome"},
        {header + "k1,done,1,0,0,1.0,,\n", "line 2 is not a register's outcome"},
        {header + "k1,finished,1,0,0,1.0,\n", "line 2 is not a register's outcome"},
        {header + "k1,done,1,0,0,1.0,\n,failed,1,0,0,1.0,\n", "line 3 is not a register's outcome"},
        {header + "k1,done,-1,0,0,1.0,\n", "line 2 is not a register's outcome"},
        {header + "k1,done,1,0,0,soon,\n", "line 2 is not a register's outcome"},
        // Cut off after its header: the registers it ran are lost, not done.
        {header, "no registers in it: a fleet report has a line for every register it ran"},
        {header + "\r\n\n",
         "no registers in it: a fleet report has a line for every register it ran"},
        {header + "# 0 registers\n",
         "no registers in it: a fleet report has a line for every register it ran"},
        // Cut at a line's end: the registers after it would pass for done.
        {header + "k1,failed,1,0,0,1.0,\n", cut},
        {header + "k1,failed,1,0,0,1.0,\nk2,done,1,0,0,1.0,\n# 3 registers\n", cut},
    };
    for (const auto& row : rows) {
        const ReadReport report = parseFleetCsv(row.bytes);
        EXPECT_EQ(report.error, row.error) << row.bytes.data();
        EXPECT_TRUE(report.outcomes.isEmpty());
    }
    QFile none("/nonexistent/r.csv");
    ASSERT_FALSE(none.open(QIODevice::ReadOnly));
    EXPECT_EQ(readFleetReport(none.fileName()).error, "/nonexistent/r.csv: " + none.errorString());
    // Endless: never read.
    EXPECT_EQ(readFleetReport("/dev/zero").error, testing::endlessDeviceRefusal(16));
}

}  // namespace
}  // namespace tabulon::fleet
