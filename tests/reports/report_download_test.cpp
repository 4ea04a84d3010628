#include "reports/report_download.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>

#include "reports/report_catalogue.h"
#include "reports/report_line.h"
#include "sim/simulated_link.h"
#include "sim/tables.h"
#include "support/report_file.h"

namespace tabulon::reports {
namespace {

using How = DownloadEnd::How;
using transfer::FailureAnswer;

// The tab as a test sets it: ticked reports, their names, the directory,
// the model and the separator, all of which may change while it runs.
class Tab : public DownloadChoices, public DownloadProgress {
public:
    QList<bool> ticked = QList<bool>(kReportCount, true);
    QStringList names{"RepArt.dat",   "RepOtd.dat", "RepGrp.dat",   "RepOperat.dat",
                      "RepNalog.dat", "RepOpl.dat", "RepOperac.dat"};
    QString directory;
    Model model = Model::DatecsMp550T;
    QString separatorField = ";";
    std::function<void(int index, int record)> onLine;

    QStringList started;  // file names as the label shows them
    QList<int> lines = QList<int>(kReportCount, 0);

    std::optional<ReportStart> reportStarts(int index) override {
        if (!ticked[index]) return std::nullopt;
        return ReportStart{names[index], reportPath(directory, names[index]),
                           recordCount(reportList()[index], model)};
    }
    std::optional<char> separator() override { return separatorByte(separatorField); }
    void reportStarted(int, const ReportStart& start) override { started << start.fileName; }
    void lineWritten(int index, int record) override {
        ++lines[index];
        if (onLine) onLine(index, record);
    }
};

class Dialog : public transfer::RunDialogs {
public:
    QList<FailureAnswer> answers;
    QList<int> asked;
    std::function<void()> whenAsked;
    FailureAnswer askAfterFailure(int record, int) override {
        asked << record;
        if (whenAsked) whenAsked();
        return answers.isEmpty() ? FailureAnswer::End : answers.takeFirst();
    }
    void tellBadData(int, const QByteArray&) override {}
};

class Download : public ::testing::Test {
protected:
    void SetUp() override {
        tab.directory = dir.path();
        ASSERT_EQ(sim.link->OpenPort(1, 9600), 1);
        sim.line->keepTranscript(false);
    }
    void useModel(sim::Model model) {
        sim = sim::makeSimulatedLink(model);
        ASSERT_EQ(sim.link->OpenPort(1, 9600), 1);
        sim.line->keepTranscript(false);
        tab.model = model;
    }
    DownloadEnd run() {
        DownloadParts parts{*sim.link, {1, 1, 9600}, dialog, control, tab, &tab};
        return downloadReports(parts);
    }
    QByteArray file(const QString& name) const {
        QFile f(QDir(dir.path()).filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
    }
    // What the register holds, as the report file has it.
    QByteArray expected(int index, int records, char separator = ';') const {
        return testing::reportFile(sim.ecr->tables(), reportList()[index].table, records,
                                   separator);
    }

    QTemporaryDir dir;
    sim::SimulatedLink sim = sim::makeSimulatedLink(sim::Model::DatecsMp550T);
    Tab tab;
    Dialog dialog;
    transfer::RunControl control;
};

TEST_F(Download, AllSevenReportsOnEachModel) {
    for (sim::Model model :
         {sim::Model::DatecsMp550T, sim::Model::DatecsMp50Junior, sim::Model::Neon}) {
        useModel(model);
        tab.lines = QList<int>(kReportCount, 0);
        EXPECT_TRUE(run().finished());
        const int articles = model == sim::Model::DatecsMp50Junior ? 5000 : 10000;
        EXPECT_EQ(tab.lines, (QList<int>{articles, 20, 99, 20, 1, 1, 1}));
        const QList<int> counts{articles, 20, 99, 20, 1, 1, 1};
        for (int index = 0; index < kReportCount; ++index)
            EXPECT_EQ(file(tab.names[index]), expected(index, counts[index])) << index;
    }
    EXPECT_EQ(tab.started.size(), 21);
    EXPECT_EQ(
        file("RepOpl.dat"),
        "1;\xC3\xEE\xF2\xB3\xE2\xEA\xE0;1496.60;\xD7\xE5\xEA;0.00;\xCA\xF0\xE5\xE4\xE8\xF2;0.00;"
        "\xCA\xE0\xF0\xF2\xEA\xE0;812.30;\xCF\xE5\xF0\xE5\xEA\xE0\xE7;0.00\r\n");
    EXPECT_EQ(file("RepOtd.dat").left(23), "1;1;23.000;310.00\r\n2;2;");
}

TEST_F(Download, NothingTickedWritesNothing) {
    tab.ticked.fill(false);
    EXPECT_TRUE(run().finished());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(sim.ecr->commands().isEmpty());
}

TEST_F(Download, TheChoicesAreReadAsEachReportStarts) {
    tab.ticked = {false, true, false, false, true, false, false};
    tab.separatorField = ",";
    tab.directory = dir.path() + "/";
    tab.names[4] = "taxes.txt";
    // Edits while a report is read count from its next line or next report.
    tab.onLine = [&](int index, int record) {
        if (index == 1 && record == 2) tab.separatorField = "|";
        if (index == 1 && record == 20) tab.ticked[5] = true;
    };
    EXPECT_TRUE(run().finished());
    EXPECT_EQ(tab.started, (QStringList{"RepOtd.dat", "taxes.txt", "RepOpl.dat"}));
    const QByteArray departments = file("RepOtd.dat");
    EXPECT_TRUE(departments.startsWith("1,1,23.000,310.00\r\n2,2,65.000,"))
        << departments.constData();
    EXPECT_EQ(departments.count('|'), 18 * 3);
    EXPECT_EQ(file("taxes.txt"), expected(4, 1, '|'));
}

TEST_F(Download, ARegisterThatStopsAnsweringEndsTheDownloadOnSkipEndOrClose) {
    for (FailureAnswer answer :
         {FailureAnswer::Skip, FailureAnswer::End, FailureAnswer::Dismissed}) {
        useModel(sim::Model::DatecsMp550T);
        tab.lines = QList<int>(kReportCount, 0);
        dialog.asked.clear();
        dialog.answers = {answer};
        control.stopRequested = false;
        tab.onLine = [&](int index, int record) {
            if (index == 1 && record == 7) sim.ecr->faults().silent = sim::Fault::always();
        };
        const int closesBefore = sim.line->closes();
        const DownloadEnd end = run();

        EXPECT_EQ(end.how, How::RecordFailed);
        EXPECT_EQ(end.report, 1);
        EXPECT_EQ(end.record, 8);
        EXPECT_EQ(end.linkResult, -1);
        EXPECT_EQ(end.lines, 7);
        EXPECT_EQ(end.file.path, QDir(dir.path()).filePath("RepOtd.dat"));
        EXPECT_EQ(end.file.records, 20);
        EXPECT_EQ(dialog.asked, QList<int>{8});
        EXPECT_EQ(file("RepOtd.dat"), expected(1, 7));
        EXPECT_EQ(file("RepArt.dat").size(), expected(0, 10000).size());
        EXPECT_EQ(file("RepGrp.dat"), "(none)");
        // A skip reopens the port; the other answers leave it alone.
        EXPECT_EQ(sim.line->closes() - closesBefore, answer == FailureAnswer::Skip ? 1 : 0);
        EXPECT_EQ(control.stopRequested.load(), answer == FailureAnswer::End);
        QFile::remove(QDir(dir.path()).filePath("RepGrp.dat"));
    }
}

TEST_F(Download, ARetryReadsTheSameRecordAgain) {
    tab.ticked = {false, false, false, true, false, false, false};
    sim.ecr->faults().silent = sim::Fault::always();
    dialog.answers = {FailureAnswer::Retry, FailureAnswer::Retry};
    int asked = 0;
    dialog.whenAsked = [&] {
        if (++asked == 2) sim.ecr->faults().silent = {};
    };
    EXPECT_TRUE(run().finished());
    EXPECT_EQ(dialog.asked, (QList<int>{1, 1}));
    EXPECT_EQ(file("RepOperat.dat"), expected(3, 20));
    EXPECT_EQ(sim.line->closes(), 2);
}

TEST_F(Download, AFileThatCannotBeCreatedEndsTheDownload) {
    tab.ticked = {false, true, false, true, false, false, false};
    tab.names[3] = "missing/RepOperat.dat";
    const DownloadEnd end = run();
    EXPECT_EQ(end.how, How::NotCreated);
    EXPECT_EQ(end.report, 3);
    EXPECT_EQ(end.file.fileName, "missing/RepOperat.dat");
    EXPECT_FALSE(end.fileError.isEmpty());
    EXPECT_EQ(file("RepOtd.dat"), expected(1, 20));
    EXPECT_EQ(tab.lines[3], 0);
}

TEST_F(Download, ADeviceUnderTheReportsNameIsNeverReplaced) {
    if (!QFileInfo("/dev/full").exists()) GTEST_SKIP() << "no /dev/full";
    tab.ticked = {false, false, true, false, false, false, false};
    tab.directory = "/dev";
    tab.names[2] = "full";
    const DownloadEnd end = run();
    EXPECT_EQ(end.how, How::NotCreated);
    EXPECT_EQ(end.file.path, "/dev/full");
    EXPECT_EQ(end.fileError, "not a regular file");
    EXPECT_TRUE(sim.ecr->commands().isEmpty());
    EXPECT_FALSE(QFileInfo("/dev/full").isFile());
}

TEST_F(Download, ASeparatorEmptiedWhileItRunsEndsIt) {
    tab.ticked = {false, false, true, false, false, false, false};
    tab.onLine = [&](int, int record) {
        if (record == 30) tab.separatorField.clear();
    };
    const DownloadEnd end = run();
    EXPECT_EQ(end.how, How::NoSeparator);
    EXPECT_EQ(end.record, 31);
    EXPECT_EQ(end.lines, 30);
    EXPECT_EQ(file("RepGrp.dat"), expected(2, 30));
}

// Closing drops the report in hand, the earlier file kept (nobody is left to
// be told it is short); "Стоп" keeps what was read and begins no next file.
TEST_F(Download, StopOrClosingEndsItBetweenTwoRecords) {
    const struct {
        bool closing;
        int record;  // of the article report, after whose line it comes
        How how;
        int lines;
        QByteArray art;
    } cases[] = {{false, 5, How::Stopped, 5, expected(0, 5)},
                 {false, 10000, How::Stopped, 0, expected(0, 10000)},
                 {true, 5, How::Cancelled, 5, "earlier"}};
    for (const auto& c : cases) {
        QFile art(QDir(dir.path()).filePath("RepArt.dat"));
        ASSERT_TRUE(art.open(QIODevice::WriteOnly) && art.write("earlier") == 7);
        art.close();
        control.stopRequested = false;
        sim.ecr->clearCommands();
        tab.onLine = [&](int index, int record) {
            if (index > 0 || record != c.record) return;
            c.closing ? void(control.cancelled = true) : control.requestStop();
        };
        const DownloadEnd end = run();
        EXPECT_EQ(end.how, c.how);
        EXPECT_EQ(end.lines, c.lines);
        EXPECT_EQ(sim.ecr->commands().size(), c.record);
        EXPECT_FALSE(control.resetRequested);  // taken: the registers were reset
        EXPECT_EQ(file("RepArt.dat"), c.art);
        EXPECT_EQ(file("RepOtd.dat"), "(none)");
    }
}

}  // namespace
}  // namespace tabulon::reports
