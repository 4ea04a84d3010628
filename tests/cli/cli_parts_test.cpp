// The pieces of tabulon-cli that need no register: the command line, the
// progress line and the comparison of --verify.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "cli/cli_commands.h"
#include "cli/command_files.h"
#include "cli/progress_line.h"
#include "cli/read_back.h"
#include "in_process.h"
#include "sim/simulated_link.h"
#include "support/cp1251.h"
#include "support/file_bytes.h"
#include "transfer/run_parts.h"

namespace tabulon::cli {
namespace {

using namespace std::chrono_literals;
using tabulon::testing::cp1251;
using tabulon::testing::cp1251Lines, tabulon::testing::readFile, tabulon::testing::writeFile;

TEST(CliRequest, TableOptionsAnywhereBeforeOrAfterTheCommand) {
    const ParsedCliRequest parsed = parseCliRequest(
        {"--model=Neon", "write-table", "--interval", "101:200:1", "goods", "--on-failure", "skip",
         "new.art", "--verify", "--only-changed", "old.art", "--trace", "t.log", "--quiet"});
    ASSERT_TRUE(parsed.request) << qPrintable(parsed.error);
    const CliRequest& request = *parsed.request;
    EXPECT_EQ(request.command, findCliCommand(u"write-table"));
    EXPECT_EQ(request.arguments, (QStringList{"goods", "new.art"}));
    EXPECT_EQ(request.model, Model::Neon);
    ASSERT_TRUE(request.interval);
    EXPECT_EQ(request.interval->start, "101");
    EXPECT_EQ(request.interval->end, "200");
    EXPECT_EQ(request.interval->firstRecord, "1");
    EXPECT_EQ(request.onFailure, FailurePolicy::Skip);
    EXPECT_TRUE(request.verify);
    EXPECT_TRUE(request.quiet);
    EXPECT_EQ(request.onlyChanged, "old.art");
    EXPECT_EQ(request.trace, "t.log");

    const ParsedCliRequest defaults = parseCliRequest({"read-table", "cash", "c.pak"});
    ASSERT_TRUE(defaults.request);
    EXPECT_EQ(defaults.request->model, Model::DatecsMp550T);
    EXPECT_EQ(defaults.request->onFailure, FailurePolicy::Abort);
    EXPECT_FALSE(defaults.request->interval);
    EXPECT_FALSE(defaults.request->verify);
    EXPECT_EQ(defaults.request->port, "COM1");
    EXPECT_EQ(defaults.request->speed, 4800);
    EXPECT_EQ(defaults.request->registerNumber, 1);
}

TEST(CliRequest, NumbersTakeASignAndBlanks) {
    const ParsedCliRequest parsed =
        parseCliRequest({"--register", "+5", "--speed", " 9600", "detect"});
    ASSERT_TRUE(parsed.request) << qPrintable(parsed.error);
    EXPECT_EQ(parsed.request->registerNumber, 5);
    EXPECT_EQ(parsed.request->speed, 9600);
    EXPECT_EQ(parseCliRequest({"--fleet", "f", "--jobs=+2", "detect"}).fleet.jobs, 2);
}

TEST(CliRequest, VersionWhereverTheWordStands) {
    EXPECT_TRUE(parseCliRequest({"--dir", "--version"}).version);
    EXPECT_TRUE(parseCliRequest({"--bogus", "--", "--version"}).version);
}

TEST(CliRequest, OptionsACommandDoesNotTake) {
    const QString server =
        "--port takes a serial server as tcp://HOST:PORT or rfc2217://HOST:PORT, the port 1 to "
        "65535";
    const struct {
        QStringList arguments;
        QString error;
    } cases[] = {
        {{"--verify", "read-table", "goods", "g.art"}, "--verify does not go with read-table"},
        {{"--only-changed", "o.art", "clear-table", "goods"},
         "--only-changed does not go with clear-table"},
        {{"--interval", "1:2:3", "detect"}, "--interval does not go with detect"},
        {{"--on-failure", "skip", "clear-table", "goods"},
         "--on-failure does not go with clear-table"},
        {{"--interval", "1:2", "read-table", "goods", "g.art"}, "--interval takes START:END:FIRST"},
        {{"--quiet=1", "detect"}, "--quiet takes no value"},
        {{"--model", "mp-60", "detect"}, "--model takes mp-550t, mp-50-junior or neon"},
        {{"--bogus=1", "detect"}, "unknown option --bogus"},
        {{"--bogus", "--help"}, "unknown option --bogus"},
        {{"--help", "--register", "0"}, "--register takes a whole number from 1 to 99"},
        {{"detect", "--port"}, "--port needs a value"},
        {{"read-table", "goods"}, "read-table takes 2 argument(s)"},
        {{"--trace=", "detect"}, "--trace needs a file name"},
        {{"--register", "0", "detect"}, "--register takes a whole number from 1 to 99"},
        {{"--register=100", "detect"}, "--register takes a whole number from 1 to 99"},
        {{"--speed", "57600", "detect"},
         "--speed takes 4800, 9600, 14400, 19200, 28800, 38400, 56000, 57700 or 115200"},
        {{"--speed", "12", "--speed", "9600", "detect"},
         "--speed takes 4800, 9600, 14400, 19200, 28800, 38400, 56000, 57700 or 115200"},
        {{"--port", "tcp://h:65536", "detect"}, server},
        {{"--port=rfc2217://h:0", "detect"}, server},
        {{"--port", "tcp://:4001", "detect"}, server},
        {{"--port", "tcp://h:4001/x", "detect"}, server},
        {{"--port", "tcp://127.0.0.1", "detect"}, server},
    };
    for (const auto& c : cases) {
        const ParsedCliRequest parsed = parseCliRequest(c.arguments);
        EXPECT_FALSE(parsed.request) << qPrintable(c.arguments.join(' '));
        EXPECT_EQ(parsed.error, c.error);
    }
}

TEST(CliRequest, NoOutputIsOneOfTheFilesTheCommandReadsOrWrites) {
    QTemporaryDir directory;
    const auto path = [&](const QString& name) { return directory.filePath(name); };
    QFile prices(path("prices.otd"));
    ASSERT_TRUE(prices.open(QIODevice::WriteOnly));
#ifndef Q_OS_WIN
    ASSERT_TRUE(QFile::link(prices.fileName(), path("link.otd")));
#endif
    const struct {
        QStringList arguments;
        QString error;
    } rows[] = {
#ifndef Q_OS_WIN
        // On Windows QFile::link makes a shortcut, which programs open as a file of its own.
        {{"--trace", path("link.otd"), "write-logo", path("prices.otd")},
         "--trace " + path("link.otd") + " would write over the picture of write-logo " +
             path("prices.otd")},
#endif
        {{"--trace", directory.path() + "/./new.bmp", "read-logo", path("new.bmp")},
         "--trace " + directory.path() + "/./new.bmp would write over read-logo " +
             path("new.bmp")},
        {{"--trace", path("RepOtd.dat"), "reports", "--dir", directory.path()},
         "--trace " + path("RepOtd.dat") + " would write over reports " + path("RepOtd.dat")},
    };
    for (const auto& row : rows) {
        const ParsedCliRequest parsed = parseCliRequest(row.arguments);
        ASSERT_TRUE(parsed.request) << qPrintable(parsed.error);
        EXPECT_EQ(outputOverInput(commandOutputs(*parsed.request), commandInputs(*parsed.request))
                      .value_or(""),
                  row.error);
    }
}

TEST(CliRequest, TheUsageListsEveryCommandOfTheTable) {
    const QString usage = cliUsage();
    for (const CliCommand& command : cliCommands()) {
        const QString line = QStringLiteral("\n  %1 %2").arg(command.name).arg(command.synopsis);
        EXPECT_TRUE(usage.contains(line.trimmed())) << qPrintable(line);
    }
    EXPECT_TRUE(usage.contains(
        "TABLE of the table commands: goods, operators, payments, departments, header, cash, "
        "receipt, service."));
}

TEST(ProgressLine, RateAndTimeLeft) {
    EXPECT_EQ(progressText("goods", 0, 10000, 0ms), "goods: 0 of 10000 records");
    EXPECT_EQ(progressText("goods", 5, 10000, 0ms), "goods: 5 of 10000 records");
    EXPECT_EQ(progressText("goods", 1234, 10000, 35057ms),
              "goods: 1234 of 10000 records, 35.2 a second, 4:10 left");
    EXPECT_EQ(progressText("goods", 10, 10000, 3000ms),
              "goods: 10 of 10000 records, 3.3 a second, 49:57 left");
    EXPECT_EQ(progressText("goods", 1, 10000, 1000ms),
              "goods: 1 of 10000 records, 1.0 a second, 2:46:39 left");
    EXPECT_EQ(progressText("operators", 20, 20, 412ms),
              "operators: 20 of 20 records, 48.5 a second, 0:00 left");
}

TEST(ReadBack, GoodsCompareAsTheRecordRulesMakeThem) {
    // As sent: the name cut to 32, the price formatted.
    const QByteArray sent =
        cp1251("7;Олія соняшникова нерафінована 1;45.20;1.000;3;1;1;1;0;4820000000123;");
    EXPECT_TRUE(readBackDifferences(TableKind::Goods, sent, "0;7;" + sent).isEmpty());

    const QByteArray changed =
        cp1251("0;7;7;Олія соняшникова нерафінована 1;45.2;1.000;3;1;1;1;0;;");
    EXPECT_EQ(readBackDifferences(TableKind::Goods, sent, changed),
              (QStringList{"column \"Цена\": written \"45.20\", read back \"45.2\"",
                           "column \"Штрих-код\": written \"4820000000123\", read back \"\""}));

    // A reply cut short, and one with a field too many.
    EXPECT_EQ(readBackDifferences(TableKind::Goods, sent, cp1251("0;7;7;Олія;")).size(), 9);
    EXPECT_EQ(readBackDifferences(TableKind::Goods, sent, cp1251("0;7;7;Олія;"))[7],
              "column \"КНЛ\": written \"0\", not read back");
    EXPECT_EQ(readBackDifferences(TableKind::Goods, sent, "0;7;" + sent + "1;"),
              QStringList{"the register sent more fields than the table has: \"0;7;" +
                          text::fromCp1251(sent) + "1;\""});
}

TEST(ReadBack, TheOperatorsFourthFieldHasNoColumnToCompare) {
    const QByteArray sent = cp1251("12;Оксана;1;0;");
    EXPECT_TRUE(
        readBackDifferences(TableKind::Operators, sent, cp1251("3;4;12;Оксана;1;")).isEmpty());
    EXPECT_EQ(readBackDifferences(TableKind::Operators, sent, cp1251("3;4;12;Оксана;0;")),
              QStringList{"column \"Разрешение\": written \"1\", read back \"0\""});
}

TEST(ReadBack, ParameterSetsByTheirFieldLabels) {
    const QByteArray sent = "1;2;3;4;5;6;7;8;9;10;11;12;13;";
    EXPECT_TRUE(readBackDifferences(ParameterSet::CashRegisterParameters, Model::DatecsMp550T, sent,
                                    "2;1;" + sent)
                    .isEmpty());
    const QStringList differences =
        readBackDifferences(ParameterSet::CashRegisterParameters, Model::DatecsMp550T, sent,
                            "2;1;1;2;3;4;5;6;7;8;9;10;11;0;");
    ASSERT_EQ(differences.size(), 2);
    EXPECT_TRUE(differences[0].startsWith("field \"")) << qPrintable(differences[0]);
    EXPECT_TRUE(differences[0].endsWith(" (Edit24): written \"12\", read back \"0\""))
        << qPrintable(differences[0]);
    EXPECT_TRUE(differences[1].endsWith(" (Edit35): written \"13\", not read back"))
        << qPrintable(differences[1]);
    EXPECT_EQ(differenceMessages(1, {"x"}), QStringList{"record 1 reads back otherwise: x"});
}

using testing::NotedConsole;

// A register that sends a department with a field too many cannot be made
// to do so as a program; in-process it can.
TEST(ReadTable, BadDataEndsTheReadAndLeavesNoFile) {
    sim::SimulatedLink sim = sim::makeSimulatedLink(sim::Model::DatecsMp550T);
    const QByteArray twoFields = cp1251("10;3;Овочі;Фрукти;");
    sim.ecr->scriptReplies([&](QByteArrayView command) -> std::optional<QByteArray> {
        if (command == "R10;3;") return twoFields;
        return std::nullopt;
    });
    QTemporaryDir directory;
    const QString file = directory.filePath("departments.otd");
    const ParsedCliRequest parsed = parseCliRequest({"read-table", "departments", file});
    ASSERT_TRUE(parsed.request);
    NotedConsole console;
    transfer::RunControl control;
    const CliContext context{*parsed.request, *sim.link, 1, console, control};
    const CliResult result = parsed.request->command->run(context);

    EXPECT_EQ(result.status, kExitFailed);
    // Its first field went into the row, but the record was not read.
    EXPECT_EQ(result.output, "departments: 2 of 20 records read\n");
    EXPECT_EQ(result.error,
              "stopped: 17 records not tried\nrecords with bad data: 3\n" + file + " not written");
    EXPECT_EQ(console.messages,
              QStringList{"record 3: the register sent more fields than the table has: "
                          "\"10;3;Овочі;Фрукти;\""});
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_FALSE(sim.link->isOpen());
}

// What import and export write (or print) as their options say.
TEST(SpreadsheetFiles, OptionsShapeWhatIsWritten) {
    QTemporaryDir directory;
    const QString start = QDir::currentPath();
    QDir::setCurrent(directory.path());
    QStringList goods(10000, ";;;;;;;;;;");
    goods[4] = "5;Чай;1045.50;2.500;3;1;1;1;0;0;";
    writeFile("shop.art", cp1251Lines(goods));
    // No zero byte in it to tell UTF-16 by.
    writeFile("one.csv", QStringEncoder(QStringConverter::Utf16LE)(QStringLiteral("Хлеб")));
    writeFile("otd.csv", QStringLiteral("Отдел;Номер\nХлеб;1\n").toUtf8());
    writeFile("pay.csv", "1\n");
    const struct {
        QString arguments;
        QString file;
        QByteArray expected;
        int status = kExitDone;
    } cases[] = {
        {"export goods shop.art shop.csv --decimal-point", "shop.csv",
         "\xEF\xBB\xBF" + QStringLiteral("Код;Название;Цена;Количество;Отдел;Группа;Налог;Тип;КНЛ;"
                                         "Штрих-код\r\n5;Чай;1045.50;2.500;3;1;1;1;0;0\r\n")
                              .toUtf8()},
        {"import departments one.csv one.otd --encoding utf-16le", "one.otd",
         cp1251Lines(QStringList{"Хлеб;"} + QStringList(19, ";"))},
        {"import departments otd.csv otd.otd --columns 1", "",
         QStringLiteral("otd.csv: UTF-8, delimiter \";\", a heading line, rows in order\n  column "
                        "1 \"Отдел\" -> Название отдела (22 символа)\n  column 2 \"Номер\": left "
                        "out by --columns\notd.csv: imported into otd.otd\n")
             .toUtf8()},
        {"write-table payments pay.csv", "",
         "pay.csv: rows the register has no record for: 1 (payments go into rows 2 to 5)\nnothing "
         "was sent",
         kExitUsage},
    };
    for (const auto& c : cases) {
        sim::SimulatedLink sim = sim::makeSimulatedLink(sim::Model::DatecsMp550T);
        const testing::InProcessRun run = testing::runInProcess(sim, c.arguments.split(' '));
        EXPECT_EQ(run.result.status, c.status);
        EXPECT_EQ(
            c.file.isEmpty() ? (run.result.output + run.result.error).toUtf8() : readFile(c.file),
            c.expected);
    }
    QDir::setCurrent(start);
}

}  // namespace
}  // namespace tabulon::cli
