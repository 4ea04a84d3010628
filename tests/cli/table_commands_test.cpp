// write-table, read-table and clear-table through a pseudo-terminal against
// tabulon-sim, as a script would run them.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QTemporaryDir>
#include <QThread>

#include "support/cli_process.h"
#include "support/pseudo_terminal.h"
#include "support/qt_print.h"

namespace {

class TableCommands : public ::testing::Test {
protected:
    QTemporaryDir directory;
    QString path(const QString& name) const { return directory.filePath(name); }

    // Writes `lines` into `name` and the register, reads the table back into
    // another file, and gives both files' bytes.
    std::pair<QByteArray, QByteArray> roundTrip(const SimProcess& ecr, const QString& table,
                                                const QStringList& lines,
                                                const QStringList& options = {}) {
        const QByteArray written = cp1251Lines(lines);
        writeFile(path("in." + table), written);
        const CliRun write =
            cli(on(ecr, options + QStringList{"write-table", table, path("in." + table)}));
        EXPECT_EQ(write.status, 0) << qPrintable(table + ": " + write.err);
        EXPECT_EQ(write.err, "");
        const CliRun read =
            cli(on(ecr, options + QStringList{"read-table", table, path("out." + table)}));
        EXPECT_EQ(read.status, 0) << qPrintable(table + ": " + read.err);
        EXPECT_EQ(read.err, "");
        return {written, readFile(path("out." + table))};
    }
};

// What the program left on a terminal, once it has ended.
QByteArray drain(PseudoTerminal& terminal) {
    QByteArray bytes;
    while (!terminal.quiet()) bytes += terminal.receive(1);
    return bytes;
}

QStringList goodsLines(int count) {
    return emptyLines(count, 10);
}

TEST_F(TableCommands, GoodsOfAnIntervalGoToTheirRecordsAndComeBackIntoTheSameRows) {
    SimProcess ecr({"--model", "mp-550t", "--log"});
    ASSERT_FALSE(ecr.path().isEmpty());
    QStringList lines = goodsLines(10000);
    // Rows as the register gives them back: prices and quantities formatted,
    // names within 32 characters, every column filled. A price keeps every
    // digit typed, however many a binary fraction would lose.
    lines[100] = "101;Хліб житній;12.50;3.000;1;1;1;1;0;4820000000101;";
    lines[101] = "102;Чай \"Лісовий\" 25 пакетиків;29.90;1.000;3;2;1;1;0;0;";
    lines[102] = "103;Цукор;199999.99;0.000;3;1;1;1;0;0;";
    lines[103] = "104;Пакет;131072.01;0.000;3;1;1;2;0;0;";
    lines[104] = "105;Сіль;16777217.00;0.000;3;1;1;1;0;0;";

    const auto [written, read] =
        roundTrip(ecr, "goods", lines, {"--interval", "101:105:1", "--model", "mp-550t"});
    EXPECT_EQ(read, written);
    const QStringList commands = commandsIn(ecr.stop());
    ASSERT_EQ(commands.size(), 10);
    EXPECT_EQ(commands[0], "W0;1;101;Хліб житній;12.50;3.000;1;1;1;1;0;4820000000101;");
    EXPECT_EQ(commands[1], "W0;2;102;Чай \"Лісовий\" 25 пакетиків;29.90;1.000;3;2;1;1;0;0;");
    EXPECT_EQ(commands[2], "W0;3;103;Цукор;199999.99;0.000;3;1;1;1;0;0;");
    EXPECT_EQ(commands[4], "W0;5;105;Сіль;16777217.00;0.000;3;1;1;1;0;0;");
    EXPECT_EQ(commands.mid(5), (QStringList{"R0;1;", "R0;2;", "R0;3;", "R0;4;", "R0;5;"}));
}

TEST_F(TableCommands, GridTablesComeBackAsTheyWereWritten) {
    SimProcess ecr({"--model", "neon"});
    QStringList operators;
    for (int i = 1; i <= 20; ++i) operators << QStringLiteral("%1;Касир %1;1;").arg(i * 3);
    QStringList departments;
    for (int i = 1; i <= 20; ++i) departments << QStringLiteral("Відділ №%1;").arg(i);
    QStringList header = emptyLines(12, 1);
    header[0] = "      ТОВ \"Крамниця\";";
    header[11] = "Сервіс;";
    // Payment type 1 and (on Neon) 5 are the register's own: the file holds
    // what it has there.
    const QStringList payments{"1;1;Готівка;1;0;", "1;0;Чек;0;1;", "0;1;Картка;1;0;",
                               "1;1;Бонус;0;0;", "1;1;Переказ;0;0;"};
    const std::pair<QString, QStringList> tables[] = {{"operators", operators},
                                                      {"departments", departments},
                                                      {"header", header},
                                                      {"payments", payments}};
    for (const auto& [table, lines] : tables) {
        const auto [written, read] = roundTrip(ecr, table, lines, {"--model", "neon"});
        EXPECT_EQ(read, written) << qPrintable(table);
    }
}

TEST_F(TableCommands, ParameterSetsComeBackAsTheyWereWrittenOnEachModel) {
    struct Case {
        const char* model;
        const char* table;
        QString line;
    };
    const Case cases[] = {
        {"mp-550t", "cash", "1;2;3;4;5;6;7;8;9;10;11;12;13;"},
        {"mp-50-junior", "cash", "21;22;23;24;25;26;27;28;29;30;31;"},
        {"neon", "cash", "31;32;33;34;35;36;37;38;39;40;41;42;"},
        {"mp-550t", "receipt", "1;8;4;0;1;0;2;1;"},
        {"mp-50-junior", "receipt", "0;0;0;1;1;1;1;1;"},
        {"neon", "receipt", "1;1;1;1;0;0;0;0;"},
        {"mp-550t", "service", "1;2;3;4;5;6;7;8;9;10;11;"},
        {"mp-50-junior", "service", "11;12;13;14;15;16;17;18;19;20;21;"},
        {"neon", "service", "1;2;3;4;5;6;7;8;9;10;;"},
    };
    for (const Case& c : cases) {
        SimProcess ecr({"--model", c.model});
        const auto [written, read] = roundTrip(ecr, c.table, {c.line}, {"--model", c.model});
        EXPECT_EQ(read, written) << c.model << ' ' << c.table;
    }
}

// The window keeps a field that no file carries in its edit field; the
// command line reads it out of the register before writing the record, so
// that a round trip through a file leaves it as it was.
TEST_F(TableCommands, AServiceRoundTripKeepsTheFieldTheFileDoesNotCarry) {
    const struct {
        const char* model;
        QString record;  // what the register holds before, and after
        QString line;    // the file line read-table gives
    } cases[] = {
        // Edit36 of a Neon: the eleventh value of its line stays empty.
        {"neon", "0;0;0;0;1;0;0;0;0;5;3;", "0;0;0;0;1;0;0;0;0;5;;"},
        // Edit37 of a Datecs MP-50 Junior: its line has eleven values.
        {"mp-50-junior", "0;0;0;0;1;0;0;0;0;5;2;7;", "0;0;0;0;1;0;0;0;0;5;2;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.model);
        SimProcess ecr({"--model", c.model, "--log"});
        const QStringList model{"--model", c.model};
        ASSERT_EQ(cli(on(ecr, {"write", "8", "1", c.record})).status, 0);
        const QString slu = path(QStringLiteral("%1.slu").arg(c.model));

        const CliRun read = cli(on(ecr, model + QStringList{"read-table", "service", slu}));
        EXPECT_EQ(read.status, 0) << qPrintable(read.err);
        EXPECT_EQ(readFile(slu), cp1251Lines({c.line}));
        const CliRun write =
            cli(on(ecr, model + QStringList{"--verify", "write-table", "service", slu}));
        EXPECT_EQ(write.status, 0) << qPrintable(write.err);
        EXPECT_EQ(write.out, "service: written\n");
        EXPECT_EQ(write.err, "");
        const CliRun after = cli(on(ecr, {"read", "8", "1"}));
        EXPECT_EQ(after.out, "8;1;" + c.record + "\n");

        // Read first, then written whole, then read back.
        EXPECT_EQ(commandsIn(ecr.stop()), (QStringList{"W8;1;" + c.record, "R8;1;", "R8;1;",
                                                       "W8;1;" + c.record, "R8;1;", "R8;1;"}));
    }
}

TEST_F(TableCommands, ClearingPaymentTypesOnNeonWritesRecordsTwoToFour) {
    SimProcess ecr({"--model", "neon", "--log"});
    const CliRun clear = cli(on(ecr, {"--model", "neon", "clear-table", "payments"}));
    EXPECT_EQ(clear.status, 0) << qPrintable(clear.err);
    EXPECT_EQ(clear.out, "payments: 3 records cleared\n");
    EXPECT_EQ(clear.err, "");
    EXPECT_EQ(commandsIn(ecr.stop()),
              (QStringList{"W9;2;1;1;Чек;0;0;", "W9;3;1;1;Кредит;0;0;", "W9;4;1;1;Картка;0;0;"}));
}

// Records past the 5000 goods of a Datecs MP-50 Junior are refused with "E".
// The file ends with the interval's last row.
TEST_F(TableCommands, ARefusedRecordStopsTheCommandOrIsSkipped) {
    QStringList lines = goodsLines(5002);
    for (int row = 4999; row <= 5002; ++row)
        lines[row - 1] = QStringLiteral("%1;Товар;1.00;;;;;;;;").arg(row);
    writeFile(path("goods.art"), cp1251Lines(lines));
    const QStringList write{"--interval", "4999:5002:4999", "write-table", "goods",
                            path("goods.art")};
    const QString refused =
        "record 5001 failed ten times: the register refused the record (\"E\" reply)";

    {
        SimProcess junior({"--model", "mp-50-junior", "--log"});
        const CliRun aborted = cli(on(junior, write));
        EXPECT_EQ(aborted.status, 1);
        EXPECT_EQ(aborted.out, "goods: 2 of 4 records written\n");
        EXPECT_EQ(aborted.err,
                  refused + "\nstopped: 1 record not tried\nrecords not written: 5001\n");
        const QStringList commands = commandsIn(junior.stop());
        EXPECT_EQ(commands.count("W0;4999;4999;Товар;1.00;0.000;;;;;;0;"), 1);
        EXPECT_EQ(commands.count("W0;5000;5000;Товар;1.00;0.000;;;;;;0;"), 1);
        // Ten attempts, each of ten "E" replies.
        EXPECT_EQ(commands.count("W0;5001;5001;Товар;1.00;0.000;;;;;;0;"), 100);
        EXPECT_EQ(commands.size(), 102);
    }
    {
        SimProcess junior({"--model", "mp-50-junior", "--log"});
        const CliRun skipped = cli(on(junior, QStringList{"--on-failure", "skip"} + write));
        EXPECT_EQ(skipped.status, 1);
        EXPECT_EQ(skipped.out, "goods: 2 of 4 records written\n");
        EXPECT_EQ(skipped.err, refused + "; skipped\n" +
                                   "record 5002 failed ten times: the register refused "
                                   "the record (\"E\" reply); skipped\n"
                                   "records not written: 5001-5002\n");
        const QStringList commands = commandsIn(junior.stop());
        EXPECT_EQ(commands.count("W0;5002;5002;Товар;1.00;0.000;;;;;;0;"), 100);
        EXPECT_EQ(commands.size(), 202);
    }
}

TEST_F(TableCommands, ARowThatMakesNoRecordSendsNothing) {
    SimProcess ecr({"--model", "mp-550t", "--log"});
    QStringList lines = goodsLines(10000);
    lines[0] = "1;Хліб;12.50;1;1;1;1;1;0;0;";
    lines[6999] = "7000;Чай;12,50;1;1;1;1;1;0;0;";
    writeFile(path("goods.art"), cp1251Lines(lines));
    const CliRun write = cli(on(ecr, {"write-table", "goods", path("goods.art")}));
    EXPECT_EQ(write.status, 2);
    EXPECT_EQ(write.out, "");
    EXPECT_EQ(write.err,
              "row 7000, column 3: '12,50' is not a valid floating point value\n"
              "nothing was sent\n");

    // A control character: a tab inside a name.
    lines[6999] = "7000;Чай\tзелений;12.50;1;1;1;1;1;0;0;";
    writeFile(path("goods.art"), cp1251Lines(lines));
    const CliRun control = cli(on(ecr, {"write-table", "goods", path("goods.art")}));
    EXPECT_EQ(control.status, 2);
    EXPECT_TRUE(control.err.contains("7000")) << qPrintable(control.err);
    EXPECT_TRUE(control.err.endsWith("nothing was sent\n")) << qPrintable(control.err);

    // The port was never opened: the register saw no line settings at all.
    const QString log = ecr.stop();
    EXPECT_FALSE(log.contains("line:")) << qPrintable(log);
    EXPECT_TRUE(commandsIn(log).isEmpty());
}

TEST_F(TableCommands, VerifyReportsARecordTheRegisterKeptOtherwise) {
    QStringList departments;
    for (int i = 1; i <= 20; ++i) departments << QStringLiteral("Склад %1;").arg(i);
    writeFile(path("departments.otd"), cp1251Lines(departments));
    const QString differs =
        "record 1 reads back otherwise: column \"Название отдела (22 символа)\": written \"Склад "
        "1\", "
        "read back \"#клад 1\"\n";
    {
        SimProcess ecr({"--model", "mp-550t", "--alter-stored=1", "--log"});
        const CliRun verified =
            cli(on(ecr, {"--verify", "write-table", "departments", path("departments.otd")}));
        EXPECT_EQ(verified.status, 1);
        EXPECT_EQ(verified.out, "departments: 0 of 20 records written\n");
        EXPECT_EQ(verified.err,
                  differs + "stopped: 19 records not tried\nrecords not written: 1\n");
        EXPECT_EQ(commandsIn(ecr.stop()), (QStringList{"W10;1;Склад 1;", "R10;1;"}));
    }
    {
        SimProcess ecr({"--model", "mp-550t", "--alter-stored=1"});
        const CliRun skipped = cli(on(ecr, {"--verify", "--on-failure", "skip", "write-table",
                                            "departments", path("departments.otd")}));
        EXPECT_EQ(skipped.status, 1);
        EXPECT_EQ(skipped.out, "departments: 19 of 20 records written\n");
        EXPECT_EQ(skipped.err, differs + "records not written: 1\n");
    }
    {
        // The same register without the fault: every record reads back as sent.
        SimProcess ecr({"--model", "mp-550t"});
        const CliRun clean =
            cli(on(ecr, {"--verify", "write-table", "departments", path("departments.otd")}));
        EXPECT_EQ(clean.status, 0) << qPrintable(clean.err);
        EXPECT_EQ(clean.out, "departments: 20 records written\n");
    }
    {
        SimProcess ecr({"--model", "neon", "--alter-stored=1"});
        writeFile(path("cash.pak"), cp1251Lines({"1;2;3;4;5;6;7;8;9;10;11;12;"}));
        const CliRun cash =
            cli(on(ecr, {"--model", "neon", "--verify", "write-table", "cash", path("cash.pak")}));
        EXPECT_EQ(cash.status, 1);
        EXPECT_EQ(cash.out, "");
        EXPECT_EQ(
            cash.err,
            "record 1 reads back otherwise: field \"Номер аппарата:\" (Edit5): written \"1\", "
            "read back \"#\"\nrecord 1 not written\n");
    }
}

TEST_F(TableCommands, OnlyTheChangedRowsAreSent) {
    QStringList old = goodsLines(10000);
    for (int row = 1; row <= 10000; row += 7)
        old[row - 1] = QStringLiteral("%1;Товар %1;1.00;;;;;;;;").arg(row);
    QStringList changed = old;
    changed[2] = "3;Цукор;26.50;;;;;;;;";
    changed[6999] = "7000;Товар 7000;1.00;;;;;;;;";  // was empty
    changed[9996] = ";;;;;;;;;;";                    // row 9997 emptied
    writeFile(path("old.art"), cp1251Lines(old));
    writeFile(path("new.art"), cp1251Lines(changed));

    {
        SimProcess ecr({"--model", "mp-550t", "--log"});
        const CliRun write = cli(
            on(ecr, {"--only-changed", path("old.art"), "write-table", "goods", path("new.art")}));
        EXPECT_EQ(write.status, 0) << qPrintable(write.err);
        EXPECT_EQ(write.out, "goods: 3 records written\n");
        EXPECT_EQ(commandsIn(ecr.stop()), (QStringList{"W0;3;3;Цукор;26.50;0.000;;;;;;0;",
                                                       "W0;7000;7000;Товар 7000;1.00;0.000;;;;;;0;",
                                                       "W0;9997;;;0.00;0.000;;;;;;0;"}));
    }
    {
        // Within an interval, by its offset; row 3 lies outside it.
        SimProcess ecr({"--model", "mp-550t", "--log"});
        const CliRun write =
            cli(on(ecr, {"--interval", "6001:10000:1", "--only-changed", path("old.art"),
                         "write-table", "goods", path("new.art")}));
        EXPECT_EQ(write.status, 0) << qPrintable(write.err);
        EXPECT_EQ(commandsIn(ecr.stop()), (QStringList{"W0;1000;7000;Товар 7000;1.00;0.000;;;;;;0;",
                                                       "W0;3997;;;0.00;0.000;;;;;;0;"}));
    }
    {
        SimProcess ecr({"--model", "mp-550t", "--log"});
        const CliRun same = cli(
            on(ecr, {"--only-changed", path("old.art"), "write-table", "goods", path("old.art")}));
        EXPECT_EQ(same.status, 0);
        EXPECT_EQ(same.out,
                  "goods: no row differs from " + path("old.art") + "; nothing written\n");
        EXPECT_FALSE(ecr.stop().contains("line:"));
    }
}

TEST_F(TableCommands, ATraceOfAReadHoldsTheExchangeBytes) {
    SimProcess ecr({"--model", "neon"});
    const QString trace = path("exchange.trace");
    const QStringList read{"--trace", trace, "read-table", "departments", path("out.otd")};
    ASSERT_EQ(cli(on(ecr, read)).status, 0);
    ASSERT_EQ(cli(on(ecr, read)).status, 0);

    const QStringList lines = QString::fromUtf8(readFile(trace)).split(u'\n');
    EXPECT_EQ(lines.filter(QRegularExpression("^# trace begun ")).size(), 2);
    EXPECT_EQ(lines
                  .filter(QRegularExpression("^ +[0-9.]+ open " +
                                             QRegularExpression::escape(ecr.path()) + "$"))
                  .size(),
              2);
    EXPECT_EQ(lines.filter(QRegularExpression("^ +[0-9.]+ line 115200 baud, 8N2, DTR on$")).size(),
              2);
    // The frame of the read of department 7 as it went out, and the reply.
    const QStringList frame7 = lines.filter(" 0A 52 31 30 3B 37 3B 0D ");
    ASSERT_EQ(frame7.size(), 2);
    EXPECT_TRUE(
        frame7[0].contains(QRegularExpression("^ +[0-9.]+ ->  (FF ){11}0A 52 31 30 3B 37 3B 0D "
                                              "[0-9A-F]{2} [0-9A-F]{2}  <FF×11><LF>R10;7;<CR>")))
        << qPrintable(frame7[0]);
    const QStringList reply7 =
        lines.filter(QRegularExpression("^ +[0-9.]+ <-  06 0A 31 30 3B 37 3B "));
    ASSERT_EQ(reply7.size(), 2);
    EXPECT_TRUE(reply7[0].contains("  <ACK><LF>10;7;Відділ 7;<CR>")) << qPrintable(reply7[0]);
    EXPECT_EQ(lines.filter(QRegularExpression("^ +[0-9.]+ close$")).size(), 2);
}

TEST_F(TableCommands, AReadThatFailsLeavesNoFile) {
    writeFile(path("earlier.otd"), "earlier\r\n");
    SimProcess ecr({"--model", "neon", "--error-replies"});
    const CliRun aborted = cli(on(ecr, {"read-table", "departments", path("new.otd")}));
    EXPECT_EQ(aborted.status, 1);
    EXPECT_EQ(aborted.out, "departments: 0 of 20 records read\n");
    EXPECT_EQ(aborted.err,
              "record 1 failed ten times: the register refused the record (\"E\" reply)\n"
              "stopped: 19 records not tried\nrecords not read: 1\n" +
                  path("new.otd") + " not written\n");
    EXPECT_FALSE(QFile::exists(path("new.otd")));

    const CliRun earlier = cli(on(ecr, {"read-table", "departments", path("earlier.otd")}));
    EXPECT_EQ(earlier.status, 1);
    EXPECT_EQ(readFile(path("earlier.otd")), "earlier\r\n");

    const CliRun cash = cli(on(ecr, {"read-table", "cash", path("cash.pak")}));
    EXPECT_EQ(cash.status, 1);
    EXPECT_EQ(cash.err,
              "record 1 failed ten times: the register refused the record "
              "(\"E\" reply)\nrecord 1 not read\n" +
                  path("cash.pak") + " not written\n");
    EXPECT_FALSE(QFile::exists(path("cash.pak")));
    EXPECT_EQ(QDir(directory.path()).entryList(QDir::Files), QStringList{"earlier.otd"});
}

TEST_F(TableCommands, SkippedReadRowsStayEmptyInTheFile) {
    // The first series of department 1 is refused; the rest read.
    SimProcess ecr({"--model", "neon", "--error-replies=100"});
    const CliRun skipped =
        cli(on(ecr, {"--on-failure", "skip", "read-table", "departments", path("out.otd")}));
    EXPECT_EQ(skipped.status, 1);
    EXPECT_EQ(skipped.out, "departments: 19 of 20 records read into " + path("out.otd") + "\n");
    EXPECT_TRUE(skipped.err.endsWith("; skipped\nrecords not read: 1\n"))
        << qPrintable(skipped.err);
    QStringList expected{";"};
    for (int i = 2; i <= 20; ++i) expected << QStringLiteral("Відділ %1;").arg(i);
    EXPECT_EQ(readFile(path("out.otd")), cp1251Lines(expected));
}

TEST_F(TableCommands, ASignalStopsTheRunBetweenRecords) {
    SimProcess ecr({"--model", "mp-550t"});
    QProcess process;
    const QString trace = path("read.trace");
    process.start(QStringLiteral(TABULON_CLI_PATH),
                  on(ecr, {"--trace", trace, "read-table", "goods", path("goods.art")}));
    ASSERT_TRUE(process.waitForStarted());
    // Well into the run: the tenth record has been asked for.
    const QDeadlineTimer deadline(60000);
    while (!readFile(trace).contains("R0;10;") && !deadline.hasExpired()) QThread::msleep(20);
    process.terminate();
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    EXPECT_TRUE(
        err.contains(QRegularExpression("^stopped by a signal: [0-9]+ records not tried\n")))
        << qPrintable(err);
    EXPECT_TRUE(err.endsWith(path("goods.art") + " not written\n"));
    EXPECT_FALSE(QFile::exists(path("goods.art")));
    // The registers were released ("Стоп"'s reset) before the port closed.
    const QStringList lines = QString::fromUtf8(readFile(trace)).split(u'\n');
    const qsizetype close = lines.lastIndexOf(QRegularExpression("^ +[0-9.]+ close$"));
    ASSERT_GE(close, 2);
    const QString release88 = "->  " + QStringList(8, "FF").join(' ') + " 13 13 " +
                              QStringList(8, "FF").join(' ') + "  <FF×8><DC3><DC3><FF×8>";
    EXPECT_TRUE(lines[close - 1].endsWith(release88)) << qPrintable(lines[close - 1]);
    EXPECT_TRUE(lines[close - 2].endsWith(release88)) << qPrintable(lines[close - 2]);
}

TEST_F(TableCommands, ProgressOnlyOnATerminalAndNotWhenQuiet) {
    SimProcess ecr({"--model", "neon"});
    for (const bool quiet : {false, true}) {
        PseudoTerminal terminal;
        QProcess process;
        process.setStandardErrorFile(terminal.path());
        QStringList arguments = on(ecr, {"read-table", "departments", path("out.otd")});
        if (quiet) arguments.prepend("--quiet");
        process.start(QStringLiteral(TABULON_CLI_PATH), arguments);
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 0);
        const QString shown = QString::fromUtf8(drain(terminal));
        if (quiet) {
            EXPECT_EQ(shown, "");
        } else {
            // A run quicker than the clock's tick has no rate to show; which
            // one this was depends on the machine, not on the program.
            EXPECT_TRUE(shown.contains(QRegularExpression(
                "\rdepartments: 20 of 20 records(, [0-9.]+ a second, 0:00 left)?\x1b\\[K")))
                << qPrintable(shown);
            EXPECT_TRUE(shown.endsWith("\r\x1b[K")) << qPrintable(shown);
        }
    }
}

TEST_F(TableCommands, FilesAndCommandLinesItCannotUse) {
    SimProcess ecr({"--model", "mp-550t", "--log"});
    // Saved for a Datecs MP-50 Junior: 5000 lines, not the 10000 of this model.
    writeFile(path("junior.art"), cp1251Lines(goodsLines(5000)));
    writeFile(path("short.opr"), cp1251Lines({"1;Касир;1;", "2;Касир"}));
    writeFile(path("full.art"), cp1251Lines(goodsLines(10000)));
    writeFile(path("short.pak"), cp1251Lines({"5;"}));
    writeFile(path("short.slu"), cp1251Lines({"1;2;3;4;5;6;7;8;9;"}));
    // Ten values to the eye, but the tenth has no ";": it would not be read.
    writeFile(path("unended.slu"), cp1251Lines({"1;2;3;4;5;6;7;8;9;10"}));
    // A name of 250 bytes in line 3: read as rows 3 and 4, every row after it
    // one further on.
    QStringList departments = emptyLines(20, 1);
    departments[2] = QString(249, u'Н') + ";";
    writeFile(path("long.otd"), cp1251Lines(departments));
    QStringList header = emptyLines(12, 1);
    header[11] = QString(199, u'Т');  // and its CR LF: the rest is a lone line feed
    writeFile(path("long.hft"), cp1251Lines(header));
    // Nothing writes into it: reading it as an earlier file would wait for good.
    ASSERT_EQ(::mkfifo(qPrintable(path("fifo.art")), 0600), 0);

    struct Case {
        QStringList arguments;
        QString error;
    };
    const Case files[] = {
        {{"write-table", "goods", path("junior.art")},
         path("junior.art") +
             ": the lines end after line 5000; goods files for Datecs MP-550T have 10000 lines "
             "of 10 values\n"},
        {{"--interval", "4999:5001:1", "write-table", "goods", path("junior.art")},
         path("junior.art") + ": the lines end after line 5000; goods files for Datecs MP-550T "
                              "have 10000 lines of 10 values\n"},
        {{"write-table", "operators", path("short.opr")},
         path("short.opr") + ": line 2 has too few values; operators files for Datecs MP-550T "
                             "have 20 lines of 3 values\n"},
        {{"write-table", "departments", path("none.otd")},
         path("none.otd") + ": cannot open: No such file or directory\n"},
        {{"--only-changed", path("none.art"), "write-table", "goods", path("full.art")},
         path("none.art") + ": cannot open: No such file or directory\n"},
        {{"read-table", "departments", path("no/such/dir/out.otd")},
         path("no/such/dir/out.otd") + ": cannot create: No such file or directory\n"},
        {{"read-table", "goods", path("fifo.art")},
         path("fifo.art") + ": cannot create: not a regular file\n"},
        {{"read-table", "operators", "/dev/null"},
         "/dev/null: cannot create: not a regular file\n"},
        {{"write-table", "goods", path("fifo.art")},
         path("fifo.art") + ": cannot open: not a regular file (a device or a pipe)\n"},
        {{"--trace", path("full.art"), "write-table", "goods", path("full.art")},
         "tabulon-cli: --trace " + path("full.art") +
             " would write over the table file of write-table " + path("full.art") + "\n"},
        {{"--interval", "50:40:1", "read-table", "goods", path("out.art")},
         "--interval: Ошибка! Неверные границы данных!\n"},
        {{"--interval", "1:x:1", "read-table", "goods", path("out.art")},
         "--interval: 'x' is not a valid integer value\n"},
        {{"write-table", "cash", path("short.pak")},
         path("short.pak") + ": line 1 has only 1 value; cash files for Datecs MP-550T have "
                             "one line of 13 values\n"},
        {{"--model", "neon", "write-table", "service", path("short.slu")},
         path("short.slu") + ": line 1 has only 9 values; service files for Neon have one "
                             "line of 10 values\n"},
        {{"--model", "neon", "write-table", "service", path("unended.slu")},
         path("unended.slu") + ": line 1 has only 9 values; \"10\" at its end has no \";\" after "
                               "it; service files for Neon have one line of 10 values\n"},
        {{"write-table", "departments", path("long.otd")},
         path("long.otd") + ": line 3 is longer than 198 bytes and would be read as two lines\n"},
        {{"--model", "neon", "write-table", "header", path("long.hft")},
         path("long.hft") + ": line 12 is longer than 198 bytes and would be read as two lines\n"},
        // The Junior's file has 5000 lines; rows 5001 and 5002 would go out
        // as empty records.
        {{"--model", "mp-50-junior", "--interval", "4999:5002:1", "write-table", "goods",
          path("junior.art")},
         "--interval: rows 5001-5002 are past the 5000 lines of goods files for Datecs MP-50 "
         "Junior\n"},
        {{"--model", "mp-50-junior", "--interval", "5001:5001:1", "write-table", "goods",
          path("junior.art")},
         "--interval: row 5001 is past the 5000 lines of goods files for Datecs MP-50 Junior\n"},
    };
    for (const Case& c : files) {
        const CliRun run = cli(on(ecr, c.arguments));
        EXPECT_EQ(run.status, 2) << qPrintable(c.arguments.join(' '));
        EXPECT_EQ(run.err, c.error);
        EXPECT_EQ(run.out, "");
    }

    const QStringList mistakes[] = {
        {"write-table", "stock", "x.art"},
        {"write-table", "goods"},
        {"clear-table", "cash"},
        {"--interval", "1:10", "write-table", "goods", "x.art"},
        {"--interval", "1:10:1", "write-table", "operators", "x.opr"},
        {"--verify", "read-table", "goods", "x.art"},
        {"--only-changed", "old.pak", "write-table", "cash", "x.pak"},
        {"--on-failure", "retry", "write-table", "goods", "x.art"},
        {"--on-failure", "skip", "clear-table", "goods"},
        {"--model", "mp-55", "clear-table", "goods"},
        {"--verify=yes", "write-table", "goods", "x.art"},
        {"--model", "neon", "detect"},
        {"--register", "0", "detect"},
        {"--register", "100", "detect"},
        {"--speed", "57600", "read-table", "goods", "x.art"},
        {"--speed", "0", "detect"},
    };
    for (const QStringList& arguments : mistakes) {
        const CliRun run = cli(on(ecr, arguments));
        EXPECT_EQ(run.status, 2) << qPrintable(arguments.join(' '));
        EXPECT_TRUE(run.err.startsWith("tabulon-cli: ")) << qPrintable(run.err);
        EXPECT_TRUE(run.err.endsWith(" (see --help)\n") && run.err.count('\n') == 1)
            << qPrintable(run.err);
    }
    EXPECT_FALSE(ecr.stop().contains("line:"));

    const CliRun trace = cli({"--trace", path("no/such/dir/t"), "detect"});
    EXPECT_EQ(trace.status, 2);
    EXPECT_EQ(trace.err,
              "tabulon-cli: --trace " + path("no/such/dir/t") + ": No such file or directory\n");
}

}  // namespace
