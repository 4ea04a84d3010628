// tabulon-cli --fleet as a shop's engineer runs it: one price list into
// every register of a fleet file, through pseudo-terminals to tabulon-sim.
// One register refuses, two share a line.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>

#include "support/cli_process.h"
#include "support/qt_print.h"

namespace {

// Times differ from run to run; their digits are masked, their width kept.
QString timesMasked(QString text) {
    static const QRegularExpression clock(QStringLiteral("\\b\\d+:\\d\\d\\b"));
    static const QRegularExpression seconds(QStringLiteral(",\\d+\\.\\d,"));
    text.replace(clock, QStringLiteral("m:ss"));
    text.replace(seconds, QStringLiteral(",s.s,"));
    return text;
}

// The register numbers the bus answered, a run of the same number counted
// once, and the commands each number took, from its log.
struct BusLog {
    QList<int> turns;
    QMap<int, QStringList> commands;
};

BusLog busLog(const QString& log) {
    BusLog bus;
    int selected = 0;
    for (const QString& line : log.split(u'\n')) {
        if (line.startsWith("selected: ")) {
            selected = line.mid(10).toInt();
            if (bus.turns.isEmpty() || bus.turns.last() != selected) bus.turns << selected;
        } else if (line.startsWith("command: ")) {
            bus.commands[selected] << line.mid(9);
        }
    }
    return bus;
}

TEST(Fleet, OneTableIntoEveryRegisterTheFailedOneReportedAndFinishedLater) {
    SimProcess front({"--model", "mp-550t", "--log"});
    // Its first record fails all ten attempts (each of ten tries); it takes
    // the table on the next run.
    SimProcess broken({"--model", "mp-550t", "--log", "--error-replies=100"});
    SimProcess back({"--model", "mp-550t", "--log", "--bus", "1,2"});
    ASSERT_FALSE(front.path().isEmpty());
    ASSERT_FALSE(broken.path().isEmpty());
    ASSERT_FALSE(back.path().isEmpty());

    QTemporaryDir directory;
    const auto path = [&](const QString& name) { return directory.filePath(name); };
    const QString fleet = path("shop.txt");
    writeFile(fleet, QStringLiteral("# Shop 12: the price list of Monday\n"
                                    "\n"
                                    "front   %1 115200 1 mp-550t\n"
                                    "back-1  %2 115200 1 mp-550t\n"
                                    "broken  %3 115200 1 mp-550t  # the old one\n"
                                    "back-2  %2 115200 2 mp-550t\n")
                         .arg(front.path(), back.path(), broken.path())
                         .toUtf8());
    QStringList lines = emptyLines(10000, 10);
    lines[0] = "1;Хліб житній;12.50;3.000;1;1;1;1;0;4820000000101;";
    lines[1] = "2;Чай \"Лісовий\" 25 пакетиків;29.90;1.000;3;2;1;1;0;0;";
    lines[2] = "3;Цукор;26.50;0.000;3;1;1;1;0;0;";
    lines[3] = "4;Молоко 2,5%;31.20;0.000;1;1;1;1;0;4820000000404;";
    lines[4] = "5;Сіль;7.90;0.000;3;1;1;1;0;0;";
    const QByteArray prices = cp1251Lines(lines);
    writeFile(path("prices.art"), prices);
    const QStringList fleetOn{"--fleet", fleet, "--interval", "1:5:1"};

    // Mistakes are found before anything is sent.
    const CliRun oneFile = cli(fleetOn + QStringList{"read-table", "goods", path("all.art")});
    EXPECT_EQ(oneFile.status, 2);
    EXPECT_EQ(oneFile.err, "tabulon-cli: read-table " + path("all.art") +
                               " would be the same file for every register: put {name} in it "
                               "(see --help)\n");
    writeFile(path("typo.txt"), "front " + front.path().toUtf8() + " 115200 1 mp-550t\nback " +
                                    back.path().toUtf8() + " 115200 1 mp-60\n");
    const CliRun typo =
        cli({"--fleet", path("typo.txt"), "write-table", "goods", path("prices.art")});
    EXPECT_EQ(typo.status, 2);
    EXPECT_EQ(typo.err, "tabulon-cli: " + path("typo.txt") +
                            ": line 2: model mp-60: the models are mp-550t, mp-50-junior and "
                            "neon\n");
    // One register under two port names: a link to its device.
    const QString alias = path("kassa");
    ASSERT_TRUE(QFile::link(front.path(), alias));
    writeFile(path("twice.txt"), "front " + front.path().toUtf8() + " 115200 1 mp-550t\nagain " +
                                     alias.toUtf8() + " 115200 1 mp-550t\n");
    const CliRun twice =
        cli({"--fleet", path("twice.txt"), "write-table", "goods", path("prices.art")});
    EXPECT_EQ(twice.status, 2);
    EXPECT_EQ(twice.err, "tabulon-cli: " + path("twice.txt") + ": line 2: register 1 on " + alias +
                             " is already on line 1 (front): both ports are " +
                             QFileInfo(front.path()).canonicalFilePath() + "\n");
    // A report named as a file the run reads would write over it.
    for (const auto& [report, input] :
         {std::pair{directory.path() + "/./shop.txt", "the fleet file " + fleet},
          {path("prices.art"), "the table file of write-table " + path("prices.art")}}) {
        const CliRun over = cli(
            fleetOn + QStringList{"--report", report, "write-table", "goods", path("prices.art")});
        EXPECT_EQ(over.status, 2);
        EXPECT_EQ(over.err,
                  "tabulon-cli: --report " + report + " would write over " + input + "\n");
    }
    EXPECT_EQ(readFile(path("prices.art")), prices);
    const CliRun noReport = cli(fleetOn + QStringList{"--only-failed", path("none.csv"),
                                                      "write-table", "goods", path("prices.art")});
    EXPECT_EQ(noReport.status, 2);
    EXPECT_EQ(noReport.err,
              "tabulon-cli: --only-failed " + path("none.csv") + ": No such file or directory\n");

    // The price list into every register: the broken one fails alone.
    const CliRun push = cli(fleetOn + QStringList{"--report", path("monday.csv"), "write-table",
                                                  "goods", path("prices.art")});
    EXPECT_EQ(push.status, 1) << qPrintable(push.err);
    EXPECT_EQ(timesMasked(push.out),
              "register  outcome  done  failed  skipped  time  reason\n"
              "front     done        5       0        0  m:ss\n"
              "back-1    done        5       0        0  m:ss\n"
              "broken    failed      0       1        4  m:ss  record 1: the register refused the "
              "record (\"E\" reply)\n"
              "back-2    done        5       0        0  m:ss\n");
    EXPECT_EQ(timesMasked(QString::fromUtf8(readFile(path("monday.csv")))),
              "register,outcome,done,failed,skipped,seconds,reason\n"
              "front,done,5,0,0,s.s,\n"
              "back-1,done,5,0,0,s.s,\n"
              "broken,failed,0,1,4,s.s,\"record 1: the register refused the record (\"\"E\"\" "
              "reply)\"\n"
              "back-2,done,5,0,0,s.s,\n"
              "# 4 registers\n");
    EXPECT_TRUE(push.err.contains("broken: goods: 0 of 5 records written\n"))
        << qPrintable(push.err);
    EXPECT_TRUE(push.err.contains("back-2: goods: 5 records written\n")) << qPrintable(push.err);

    // Again, for what the report lists as failed only, its names in any case.
    writeFile(path("monday.csv"), readFile(path("monday.csv")).replace("\nbroken,", "\nBroken,"));
    const CliRun finish =
        cli(fleetOn + QStringList{"--only-failed", path("monday.csv"), "--report",
                                  path("again.csv"), "write-table", "goods", path("prices.art")});
    EXPECT_EQ(finish.status, 0) << qPrintable(finish.err);
    EXPECT_EQ(timesMasked(finish.out),
              "register  outcome  done  failed  skipped  time  reason\n"
              "broken    done        5       0        0  m:ss\n");
    EXPECT_EQ(timesMasked(QString::fromUtf8(readFile(path("again.csv")))),
              "register,outcome,done,failed,skipped,seconds,reason\n"
              "broken,done,5,0,0,s.s,\n"
              "# 1 register\n");
    const CliRun nothingLeft =
        cli(fleetOn + QStringList{"--only-failed", path("again.csv"), "write-table", "goods",
                                  path("prices.art")});
    EXPECT_EQ(nothingLeft.status, 0);
    EXPECT_EQ(nothingLeft.out,
              "every register in " + path("again.csv") + " is done; nothing to run\n");

    // Every register holds the price list: read back, one file each.
    const CliRun readBack =
        cli(fleetOn + QStringList{"read-table", "goods", path("back/{name}.art")});
    EXPECT_EQ(readBack.status, 0) << qPrintable(readBack.err);
    for (const QString name : {"front", "back-1", "broken", "back-2"})
        EXPECT_EQ(readFile(path("back/" + name + ".art")), prices) << qPrintable(name);

    // Tuesday's sugar costs more: every register differs there, none failed.
    QStringList tuesday = lines;
    tuesday[2] = "3;Цукор;27.90;0.000;3;1;1;1;0;0;";
    writeFile(path("tuesday.art"), cp1251Lines(tuesday));
    const CliRun compare =
        cli(fleetOn + QStringList{"--report", path("compare.csv"), "compare-table", "goods",
                                  path("tuesday.art")});
    EXPECT_EQ(compare.status, 1) << qPrintable(compare.err);
    EXPECT_EQ(timesMasked(compare.out),
              "register  outcome  done  failed  skipped  differ  time  reason\n"
              "front     done        5       0        0       1  m:ss\n"
              "back-1    done        5       0        0       1  m:ss\n"
              "broken    done        5       0        0       1  m:ss\n"
              "back-2    done        5       0        0       1  m:ss\n");
    EXPECT_EQ(timesMasked(QString::fromUtf8(readFile(path("compare.csv")))),
              "register,outcome,done,failed,skipped,differ,seconds,reason\n"
              "front,done,5,0,0,1,s.s,\n"
              "back-1,done,5,0,0,1,s.s,\n"
              "broken,done,5,0,0,1,s.s,\n"
              "back-2,done,5,0,0,1,s.s,\n"
              "# 4 registers\n");
    const CliRun noneFailed =
        cli(fleetOn + QStringList{"--only-failed", path("compare.csv"), "compare-table", "goods",
                                  path("tuesday.art")});
    EXPECT_EQ(noneFailed.out,
              "every register in " + path("compare.csv") + " is done; nothing to run\n");

    // What each register took.
    QStringList writes;
    QStringList reads;
    for (int row = 1; row <= 5; ++row) {
        writes << QStringLiteral("W0;%1;%2").arg(row).arg(lines[row - 1]);
        reads << QStringLiteral("R0;%1;").arg(row);
    }
    EXPECT_EQ(commandsIn(front.stop()), writes + reads + reads);
    const QStringList refused = commandsIn(broken.stop());
    EXPECT_EQ(refused.mid(0, 100), QStringList(100, writes[0]));
    EXPECT_EQ(refused.mid(100), writes + reads + reads);
    // The two registers of one line took turns: each run of the line went
    // through register 1 before register 2, never in between.
    const BusLog bus = busLog(back.stop());
    EXPECT_EQ(bus.turns, (QList<int>{1, 2, 1, 2, 1, 2}));
    EXPECT_EQ(bus.commands.value(1), writes + reads + reads);
    EXPECT_EQ(bus.commands.value(2), writes + reads + reads);
}

// What a trace file holds so far; empty while there is none.
QString traceOf(const QString& path) {
    return QString::fromUtf8(readFile(path));
}

TEST(Fleet, CtrlCStopsEveryRegisterAfterTheRecordInHandAndStillTellsTheTable) {
    // Lines as slow as the registers' usual 4800 baud: 200 records take
    // most of a minute, long after the signal.
    const QStringList paced{"--model", "mp-550t", "--pace", "4800"};
    SimProcess first(paced);
    SimProcess second(paced);
    SimProcess bus(paced + QStringList{"--bus", "1,2"});
    ASSERT_FALSE(first.path().isEmpty());
    ASSERT_FALSE(second.path().isEmpty());
    ASSERT_FALSE(bus.path().isEmpty());
    QTemporaryDir directory;
    const auto path = [&](const QString& name) { return directory.filePath(name); };
    writeFile(path("shop.txt"), QStringLiteral("first %1 4800 1 mp-550t\n"
                                               "bus-1 %2 4800 1 mp-550t\n"
                                               "second %3 4800 1 mp-550t\n"
                                               "bus-2 %2 4800 2 mp-550t\n")
                                    .arg(first.path(), bus.path(), second.path())
                                    .toUtf8());
    QStringList lines = emptyLines(10000, 10);
    for (int row = 1; row <= 200; ++row)
        lines[row - 1] = QStringLiteral("%1;Товар %1;1.00;;;;;;;;").arg(row);
    writeFile(path("prices.art"), cp1251Lines(lines));

    QProcess cli;
    cli.start(
        QStringLiteral(TABULON_CLI_PATH),
        {"--fleet", path("shop.txt"), "--interval", "1:200:1", "--trace", path("trace/{name}.log"),
         "--report", path("r.csv"), "write-table", "goods", path("prices.art")});
    ASSERT_TRUE(cli.waitForStarted(30000));
    // The signal comes once each running register has had a record taken.
    const QStringList running{"first", "bus-1", "second"};
    const QDeadlineTimer deadline(60000);
    const auto allStarted = [&] {
        for (const QString& name : running) {
            if (!traceOf(path("trace/" + name + ".log")).contains("<ACK>")) return false;
        }
        return true;
    };
    while (!allStarted() && !deadline.hasExpired()) QThread::msleep(20);
    ASSERT_TRUE(allStarted());
    ::kill(pid_t(cli.processId()), SIGINT);
    ASSERT_TRUE(cli.waitForFinished(120000));
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), 1);
    const QString table = QString::fromUtf8(cli.readAllStandardOutput());

    // Each running register ended its run before its last record; the one
    // waiting for the bus never began. The report says the same.
    const QString report = QString::fromUtf8(readFile(path("r.csv")));
    static const QRegularExpression stopped(
        QStringLiteral(
            "^(\\S+) +stopped +(\\d+) +(\\d+) +(\\d+) +\\d+:\\d\\d  stopped by a signal$"),
        QRegularExpression::MultilineOption);
    QStringList names;
    for (auto it = stopped.globalMatch(table); it.hasNext();) {
        const QRegularExpressionMatch row = it.next();
        names << row.captured(1);
        const int done = row.captured(2).toInt();
        EXPECT_LT(done, 200) << qPrintable(table);
        EXPECT_EQ(done + row.captured(3).toInt() + row.captured(4).toInt(), 200)
            << qPrintable(table);
        EXPECT_TRUE(report.contains(
            QStringLiteral("%1,stopped,%2,%3,%4,")
                .arg(row.captured(1), row.captured(2), row.captured(3), row.captured(4))))
            << qPrintable(report);
    }
    EXPECT_EQ(names, running) << qPrintable(table);
    EXPECT_TRUE(table.startsWith("register  outcome  done  failed  skipped  time  reason\n"))
        << qPrintable(table);
    EXPECT_TRUE(
        table.endsWith("bus-2     not run     -       -        -  0:00  stopped by a "
                       "signal before its turn\n"))
        << qPrintable(table);
    EXPECT_TRUE(report.endsWith(
        "bus-2,not run,,,,0.0,stopped by a signal before its turn\n# 4 registers\n"))
        << qPrintable(report);

    // Every line was released before its port closed: the trace's last
    // bytes out are the release sequence.
    for (const QString& name : running) {
        const QStringList steps =
            traceOf(path("trace/" + name + ".log")).split(u'\n', Qt::SkipEmptyParts);
        ASSERT_GE(steps.size(), 2) << qPrintable(name);
        EXPECT_TRUE(steps.last().endsWith(" close")) << qPrintable(steps.last());
        EXPECT_TRUE(steps[steps.size() - 2].contains("-> ") &&
                    steps[steps.size() - 2].contains("<DC3><DC3>"))
            << qPrintable(name + ": " + steps[steps.size() - 2]);
    }
    EXPECT_FALSE(QFile::exists(path("trace/bus-2.log")));
}

}  // namespace
