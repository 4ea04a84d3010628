// Every kind of register work against the chaos register, over a fixed set of
// seeds. Whatever the line does: each run ends within the time its time-outs
// allow, a record reported done is on the register exactly as sent (or was
// read exactly as the register holds it), and nothing the engineer has (grid
// rows, report lines) is lost or damaged.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

#include "logo/dot_row.h"
#include "logo/logo_transfer.h"
#include "reports/report_catalogue.h"
#include "reports/report_download.h"
#include "reports/report_line.h"
#include "sim/chaos.h"
#include "sim/simulated_link.h"
#include "transfer/clearing_record.h"
#include "transfer/register_tables.h"
#include "transfer/table_run.h"

namespace tabulon {
namespace {

using namespace std::chrono_literals;
using transfer::FailureAnswer;
using Duration = link::Clock::Duration;

constexpr std::uint64_t kSeeds[] = {1, 2, 3, 5, 8, 13, 21, 34, 55, 89, 144, 233, 377, 610};

// A line twice as bad as tabulon-sim --chaos makes it: more records need the
// second series of attempts, and some are skipped.
constexpr sim::ChaosRates kRoughLine{6, 6, 6, 6, 10, 30, 30, 10, 2};

// The bound a run's time keeps. Virtual time passes only while the computer
// waits: out a read time-out, for answer bytes the chaos holds back, or in a
// pause of its own. What the chaos held back is the register's doing and is
// added to the bound as it happened. The rest comes from the link's
// time-outs: an exchange attempt ends at its first missing byte, after at
// most five select sequences that each wait out one, and after the frame's
// answer was given up on, a wait until the line is quiet; an operation makes
// at most ten attempts ("E" replies, refused frames).
constexpr Duration kWait = 300ms;
constexpr int kTimeoutsPerOperation = 10 * (1 + 5);

// What a run may spend: link operations, each waiting out at most
// kTimeoutsPerOperation time-outs, and pauses of the program's own.
struct Budget {
    int operations = 0;
    Duration pauses{0};
};
constexpr Budget operator*(int records, Budget perRecord) {
    return {records * perRecord.operations, records * perRecord.pauses};
}
// A table run record: two series (a retry, then a skip), and a reset that
// waits until over a second has passed, in steps of 50 ms.
constexpr Budget kRecordBudget{2 * transfer::RecordTransfer::kAttemptsPerSeries, 1001ms};
// A clear record: ten operations a second apart.
constexpr Budget kClearRecordBudget{transfer::kClearAttempts, transfer::kClearAttempts * 1s};
// A logo record: one operation; the transfer stops at its first failure.
constexpr Budget kLogoRecordBudget{1, 0ms};

struct Tally;
Tally& tally();

// One register behind a bad line.
struct BadLine {
    BadLine(std::uint64_t seed, sim::Model model, const sim::ChaosRates& rates = kRoughLine)
        : sim(sim::makeSimulatedLink(model)), chaos(std::make_shared<sim::Chaos>(seed, rates)) {
        sim.line->setChaos(chaos);
        sim.line->keepTranscript(false);
        EXPECT_EQ(sim.link->OpenPort(1, 9600), 1);
    }
    ~BadLine();
    Duration now() const { return sim.clock->now(); }
    Duration pausesSoFar() const { return chaos->counts().pauses; }
    int timeouts() const { return sim.line->timeouts(); }
    // Every link operation raises the priority once (a detection three times).
    int operations() const { return sim.priority->raises(); }
    // The register's record, as a reply to reading it would carry it.
    QByteArray held(int table, int record) const {
        QByteArray fields;
        EXPECT_EQ(sim.ecr->tables().read(table, record, fields), sim::Refusal::None);
        return QByteArray::number(table) + ';' + QByteArray::number(record) + ';' + fields;
    }

    sim::SimulatedLink sim;
    std::shared_ptr<sim::Chaos> chaos;
};

// One run's time against its bound: the program's share, fixed by its
// budget, and the chaos's pauses while it runs.
class Stopwatch {
public:
    Stopwatch(const BadLine& line, Budget budget)
        : line_(line),
          budget_(budget),
          start_(line.now()),
          pausesAtStart_(line.pausesSoFar()),
          timeoutsAtStart_(line.timeouts()),
          operationsAtStart_(line.operations()) {}
    Duration elapsed() const { return line_.now() - start_; }
    Duration bound() const {
        return timeoutBudget() * kWait + budget_.pauses + line_.pausesSoFar() - pausesAtStart_;
    }
    bool overrun() const { return elapsed() > bound(); }
    int timeouts() const { return line_.timeouts() - timeoutsAtStart_; }
    // The link operations the run made, and those its records may make.
    int operations() const { return line_.operations() - operationsAtStart_; }
    int operationBudget() const { return budget_.operations; }
    // What the operations made may wait out, not what they might have made:
    // most records are done by their first operation.
    int timeoutBudget() const { return operations() * kTimeoutsPerOperation; }

private:
    const BadLine& line_;
    Budget budget_;
    Duration start_;
    Duration pausesAtStart_;
    int timeoutsAtStart_;
    int operationsAtStart_;
};

// A run kept to its bound: no more time-outs than its operations may wait
// out, no more time than those, its own pauses and the chaos's.
void expectWithinBound(const Stopwatch& watch) {
    EXPECT_LE(watch.operations(), watch.operationBudget());
    EXPECT_LE(watch.timeouts(), watch.timeoutBudget());
    EXPECT_LE(watch.elapsed(), watch.bound());
}

// The engineer at the failure dialog: another ten attempts once, then the
// record is skipped. Past the run's bound the program is closed instead, so a
// run that would go on for good ends, and fails the test.
class Engineer : public transfer::RunDialogs {
public:
    Engineer(const Stopwatch& watch, transfer::RunControl& control)
        : watch_(watch), control_(control) {}

    FailureAnswer askAfterFailure(int record, int) override {
        ++asked;
        if (watch_.overrun()) {
            control_.cancelled = true;
            return FailureAnswer::End;
        }
        if (retried_.contains(record)) return FailureAnswer::Skip;
        retried_ << record;
        return FailureAnswer::Retry;
    }
    void tellBadData(int record, const QByteArray& reply) override {
        badData << record;
        badReplies << reply;
    }

    int asked = 0;
    QList<int> badData;
    QList<QByteArray> badReplies;

private:
    const Stopwatch& watch_;
    transfer::RunControl& control_;
    QList<int> retried_;
};

class Rows : public transfer::RowSource, public transfer::RowSink {
public:
    QMap<int, QStringList> rows;
    QStringList rowCells(int row) const override { return rows.value(row); }
    void putRow(int row, const TableReply& reply) override {
        for (qsizetype i = 0; i < reply.cells.size(); ++i) rows[row][i] = reply.cells[i];
    }
};

// What the soak saw, told once at the end.
struct Tally {
    int runs = 0;
    int records = 0;
    int done = 0;
    int failed = 0;
    sim::ChaosCounts chaos;
    Duration longestRun{0};
    double mostOfBound = 0;
    double mostOfTimeouts = 0;

    void add(const Stopwatch& watch) {
        ++runs;
        longestRun = std::max(longestRun, watch.elapsed());
        mostOfBound =
            std::max(mostOfBound, double(watch.elapsed().count()) / double(watch.bound().count()));
        mostOfTimeouts =
            std::max(mostOfTimeouts, double(watch.timeouts()) / double(watch.timeoutBudget()));
    }
    void add(const sim::ChaosCounts& c) {
        chaos.answers += c.answers;
        chaos.garbled += c.garbled;
        chaos.dropped += c.dropped;
        chaos.duplicated += c.duplicated;
        chaos.inserted += c.inserted;
        chaos.paused += c.paused;
        chaos.late += c.late;
        chaos.silentMidLine += c.silentMidLine;
        chaos.deafSpells += c.deafSpells;
        chaos.misheard += c.misheard;
    }
};

Tally& tally() {
    static Tally t;
    return t;
}

BadLine::~BadLine() {
    tally().add(chaos->counts());
}

QStringList goodsRow(int row) {
    return {QString::number(row),
            QStringLiteral("Товар «%1» хлеб").arg(row),
            QStringLiteral("%1.%2").arg(row * 3).arg(row % 100, 2, 10, QChar(u'0')),
            QStringLiteral("%1.250").arg(row),
            QString::number(1 + row % 9),
            QString::number(1 + row % 5),
            QString::number(1 + row % 4),
            QString::number(row % 2),
            QString::number(row % 3),
            QStringLiteral("4820000%1").arg(row, 6, 10, QChar(u'0'))};
}

class ChaosSoak : public ::testing::TestWithParam<std::uint64_t> {
protected:
    static void TearDownTestSuite() {
        const Tally& t = tally();
        std::printf(
            "chaos soak: %d runs, %d records (%d done, %d failed), longest run %.1f s of virtual "
            "time, at most %.4f of its bound and %.4f of its time-outs; %d answers: %d garbled, %d "
            "dropped, %d duplicated, "
            "%d inserted bytes, %d pauses, %d late, %d silent mid-line, %d deaf spells, %d "
            "misheard\n",
            t.runs, t.records, t.done, t.failed,
            std::chrono::duration<double>(t.longestRun).count(), t.mostOfBound, t.mostOfTimeouts,
            t.chaos.answers, t.chaos.garbled, t.chaos.dropped, t.chaos.duplicated, t.chaos.inserted,
            t.chaos.paused, t.chaos.late, t.chaos.silentMidLine, t.chaos.deafSpells,
            t.chaos.misheard);
    }
};

constexpr int kRows = 30;

transfer::RunOutcome runTable(BadLine& line, transfer::Direction direction, TableKind kind,
                              Rows& rows, int records, Budget recordBudget) {
    const std::optional<transfer::IntervalTexts> interval =
        kind == TableKind::Goods ? std::optional<transfer::IntervalTexts>(
                                       {QString::number(1), QString::number(records), "1"})
                                 : std::nullopt;
    const transfer::PlanResult plan =
        transfer::planTableRun(direction, kind, Model::DatecsMp550T, interval);
    EXPECT_TRUE(plan.plan) << plan.error.toStdString();
    transfer::RunControl control;
    const Stopwatch watch(line, records * recordBudget);
    Engineer engineer(watch, control);
    transfer::RunParts parts{*line.sim.link, {1, 1, 9600}, engineer, control,
                             nullptr,        &rows,        &rows};
    const transfer::RunOutcome outcome = transfer::runTable(*plan.plan, parts);
    EXPECT_FALSE(control.cancelled) << "the run went past its bound";
    expectWithinBound(watch);
    EXPECT_TRUE(engineer.badData.isEmpty()) << engineer.badReplies.value(0).toStdString();
    tally().add(watch);
    tally().records += outcome.done + int(outcome.failedRecords.size());
    tally().done += outcome.done;
    tally().failed += int(outcome.failedRecords.size());
    return outcome;
}

// Records the run reported done that the register does not hold as sent.
QList<int> notHeldAsSent(const BadLine& line, const QMap<int, QStringList>& grid,
                         const transfer::RunOutcome& outcome) {
    QList<int> wrong;
    for (int record = 1; record <= kRows; ++record) {
        if (outcome.failedRecords.contains(record)) continue;
        const BuiltRecord sent =
            BuildTableRecord(TableKind::Goods, grid[record], Model::DatecsMp550T, {record, record});
        if (line.held(0, record) != "0;" + QByteArray::number(record) + ';' + sent.text)
            wrong << record;
    }
    return wrong;
}

// Rows read that do not hold what the register holds, and rows not read that
// changed.
QList<int> notReadAsHeld(const BadLine& line, const QMap<int, QStringList>& rows,
                         const QStringList& before, const transfer::RunOutcome& outcome) {
    QList<int> wrong;
    for (int row = 1; row <= kRows; ++row) {
        QStringList expected = before;
        if (!outcome.failedRecords.contains(row)) {
            const TableReply reply = ParseTableRecord(TableKind::Goods, line.held(0, row));
            for (qsizetype i = 0; i < reply.cells.size(); ++i) expected[i] = reply.cells[i];
        }
        if (rows[row] != expected) wrong << row;
    }
    return wrong;
}

void putGoods(BadLine& line) {
    for (int record = 1; record <= kRows; ++record) {
        const BuiltRecord built = BuildTableRecord(TableKind::Goods, goodsRow(record),
                                                   Model::DatecsMp550T, {record, record});
        line.sim.ecr->tables().write(0, record, built.text);
    }
}

TEST_P(ChaosSoak, GoodsWrittenAreHeldAsSent) {
    BadLine line(GetParam(), sim::Model::DatecsMp550T);
    Rows rows;
    for (int row = 1; row <= kRows; ++row) rows.rows[row] = goodsRow(row);
    const QMap<int, QStringList> grid = rows.rows;

    const transfer::RunOutcome outcome =
        runTable(line, transfer::Direction::Write, TableKind::Goods, rows, kRows, kRecordBudget);
    EXPECT_FALSE(outcome.stopped);
    EXPECT_EQ(outcome.done + outcome.failedRecords.size(), kRows);
    EXPECT_EQ(rows.rows, grid);  // the grid is only read
    EXPECT_EQ(notHeldAsSent(line, grid, outcome), QList<int>()) << "seed " << GetParam();
}

TEST_P(ChaosSoak, GoodsReadAreWhatTheRegisterHolds) {
    BadLine line(GetParam(), sim::Model::DatecsMp550T);
    putGoods(line);
    Rows rows;
    const QStringList before(10, QStringLiteral("прежнее"));
    for (int row = 1; row <= kRows; ++row) rows.rows[row] = before;

    const transfer::RunOutcome outcome =
        runTable(line, transfer::Direction::Read, TableKind::Goods, rows, kRows, kRecordBudget);
    EXPECT_EQ(outcome.done + outcome.failedRecords.size(), kRows);
    EXPECT_EQ(notReadAsHeld(line, rows.rows, before, outcome), QList<int>())
        << "seed " << GetParam();
}

TEST_P(ChaosSoak, OperatorsClearedHoldTheirDefaults) {
    BadLine line(GetParam(), sim::Model::DatecsMp550T);
    const int table = registerTableNumber(TableKind::Operators);
    const RecordRange records = clearedRecords(TableKind::Operators, Model::DatecsMp550T);
    for (int record = records.first; record <= records.last; ++record)
        line.sim.ecr->tables().write(table, record, "99;Чужой;1;");
    Rows rows;
    const transfer::RunOutcome outcome =
        runTable(line, transfer::Direction::Clear, TableKind::Operators, rows, records.count(),
                 kClearRecordBudget);
    EXPECT_EQ(outcome.done + outcome.failedRecords.size(), records.count());
    for (int record = records.first; record <= records.last; ++record) {
        if (outcome.failedRecords.contains(record)) continue;
        EXPECT_EQ(line.held(table, record),
                  QByteArray::number(table) + ';' + QByteArray::number(record) + ';' +
                      *ClearingRecord(TableKind::Operators, record, Model::DatecsMp550T))
            << "seed " << GetParam() << ", record " << record;
    }
}

// A line that only delays: what the register says comes whole, late or in
// pieces, or not at all. A write's reply has nothing but its "E" to tell a
// refusal by, so on a line that changes bytes a refused write can pass for a
// stored one; refused writes are tried where the line keeps its bytes.
constexpr sim::ChaosRates kSlowLine{0, 0, 0, 0, 10, 30, 30, 10, 2};

// A register that answers "E0;" to the commands of these records, of one kind.
sim::SimulatedRegister::ReplyScript refusing(char kind, const QList<int>& records) {
    return [=](QByteArrayView command) -> std::optional<QByteArray> {
        for (int record : records) {
            if (command.startsWith(kind + ("0;" + QByteArray::number(record) + ';')))
                return QByteArray("E0;");
        }
        return std::nullopt;
    };
}

TEST_P(ChaosSoak, RecordsTheRegisterRefusesAreNeverReportedDone) {
    const QList<int> refused{4, 11, 25};
    {
        BadLine line(GetParam(), sim::Model::DatecsMp550T, kSlowLine);
        line.sim.ecr->scriptReplies(refusing('W', refused));
        QMap<int, QByteArray> heldBefore;
        for (int record : refused) heldBefore[record] = line.held(0, record);
        Rows rows;
        for (int row = 1; row <= kRows; ++row) rows.rows[row] = goodsRow(row);
        const transfer::RunOutcome outcome = runTable(line, transfer::Direction::Write,
                                                      TableKind::Goods, rows, kRows, kRecordBudget);
        for (int record : refused) {
            EXPECT_TRUE(outcome.failedRecords.contains(record))
                << "seed " << GetParam() << ", record " << record;
            EXPECT_EQ(line.held(0, record), heldBefore[record]);
        }
        EXPECT_EQ(notHeldAsSent(line, rows.rows, outcome), QList<int>()) << "seed " << GetParam();
    }
    {
        // A read reply's check bytes catch a changed "E": the rough line.
        BadLine line(GetParam(), sim::Model::DatecsMp550T);
        putGoods(line);
        line.sim.ecr->scriptReplies(refusing('R', refused));
        Rows rows;
        const QStringList before(10, QStringLiteral("прежнее"));
        for (int row = 1; row <= kRows; ++row) rows.rows[row] = before;
        const transfer::RunOutcome outcome =
            runTable(line, transfer::Direction::Read, TableKind::Goods, rows, kRows, kRecordBudget);
        for (int record : refused) {
            EXPECT_TRUE(outcome.failedRecords.contains(record))
                << "seed " << GetParam() << ", record " << record;
        }
        EXPECT_EQ(notReadAsHeld(line, rows.rows, before, outcome), QList<int>())
            << "seed " << GetParam();
    }
}

// A logo transfer stops at its first failure: the records before it are done.
TEST_P(ChaosSoak, LogoWrittenAndReadRecordByRecord) {
    BadLine line(GetParam(), sim::Model::Neon);
    QImage picture(logo::kDotsPerRow, logo::kLogoRows, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, ((x * 7 + y * 13) % 5 == 0) ? 0xFF000000 : 0xFFFFFFFF);
    const QList<QByteArray> records = logo::logoRecords(picture);
    const std::atomic<bool> cancelled = false;

    const Stopwatch writing(line, logo::kLogoRows * kLogoRecordBudget);
    const logo::LogoTransferEnd written =
        logo::writeLogo(*line.sim.link, 1, records, nullptr, cancelled);
    expectWithinBound(writing);
    tally().add(writing);
    const int writtenRecords =
        written.how == logo::LogoTransferEnd::How::Complete ? logo::kLogoRows : written.record - 1;
    EXPECT_NE(written.how, logo::LogoTransferEnd::How::Cancelled);
    for (int record = 1; record <= writtenRecords; ++record) {
        EXPECT_EQ(line.held(logo::kLogoTable, record),
                  "136;" + QByteArray::number(record) + ';' + records[record - 1])
            << "seed " << GetParam() << ", record " << record;
    }
    tally().records += writtenRecords + (writtenRecords < logo::kLogoRows);
    tally().done += writtenRecords;
    tally().failed += writtenRecords < logo::kLogoRows;

    // Whatever the write left, the read draws what the register holds.
    QMap<int, QList<std::uint8_t>> rows;
    const Stopwatch reading(line, logo::kLogoRows * kLogoRecordBudget);
    const logo::LogoTransferEnd read = logo::readLogo(
        *line.sim.link, 1, nullptr,
        [&](int row, const QList<std::uint8_t>& values) { rows[row] = values; }, cancelled);
    expectWithinBound(reading);
    tally().add(reading);
    const int readRecords =
        read.how == logo::LogoTransferEnd::How::Complete ? logo::kLogoRows : read.record - 1;
    EXPECT_EQ(rows.size(), readRecords);
    for (int record = 1; record <= readRecords; ++record) {
        EXPECT_EQ(rows[record - 1], logo::replyValues(line.held(logo::kLogoTable, record)))
            << "seed " << GetParam() << ", record " << record;
    }
    tally().records += readRecords + (readRecords < logo::kLogoRows);
    tally().done += readRecords;
    tally().failed += readRecords < logo::kLogoRows;
}

// Where the soak puts each report: any name will do, one per report.
QString fileName(const reports::Report& report) {
    return report.shortName + QStringLiteral(".dat");
}

class ReportsTab : public reports::DownloadChoices {
public:
    explicit ReportsTab(const QString& directory) : directory_(directory) {}
    std::optional<reports::ReportStart> reportStarts(int index) override {
        // All but the article report, whose 10000 records add time, not paths.
        if (index == 0) return std::nullopt;
        const reports::Report& report = reports::reportList()[index];
        return reports::ReportStart{fileName(report),
                                    reports::reportPath(directory_, fileName(report)),
                                    reports::recordCount(report, Model::Neon)};
    }
    std::optional<char> separator() override { return ';'; }

private:
    QString directory_;
};

TEST_P(ChaosSoak, ReportFilesHoldExactlyTheRecordsRead) {
    BadLine line(GetParam(), sim::Model::Neon);
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    ReportsTab tab(directory.path());
    transfer::RunControl control;
    int records = 0;
    for (int index = 1; index < reports::kReportCount; ++index)
        records += reports::recordCount(reports::reportList()[index], Model::Neon);
    const Stopwatch watch(line, records * kRecordBudget);
    Engineer engineer(watch, control);
    reports::DownloadParts parts{*line.sim.link, {1, 1, 9600}, engineer, control, tab, nullptr};

    const reports::DownloadEnd end = reports::downloadReports(parts);
    EXPECT_FALSE(control.cancelled);
    expectWithinBound(watch);
    tally().add(watch);
    EXPECT_TRUE(end.how == reports::DownloadEnd::How::Finished ||
                end.how == reports::DownloadEnd::How::RecordFailed)
        << int(end.how);

    const int lastReport = end.finished() ? reports::kReportCount - 1 : end.report;
    int lines = 0;
    for (int index = 1; index <= lastReport; ++index) {
        const reports::Report& report = reports::reportList()[index];
        QFile file(reports::reportPath(directory.path(), fileName(report)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << fileName(report).toStdString();
        const QByteArray content = file.readAll();
        QByteArray expected;
        const int count = index < lastReport || end.finished()
                              ? reports::recordCount(report, Model::Neon)
                              : end.lines;
        for (int record = 1; record <= count; ++record)
            expected += reports::reportLine(line.held(report.table, record), ';') + "\r\n";
        EXPECT_EQ(content, expected)
            << "seed " << GetParam() << ", " << fileName(report).toStdString();
        lines += count;
    }
    tally().records += lines + !end.finished();
    tally().done += lines;
    tally().failed += !end.finished();
}

INSTANTIATE_TEST_SUITE_P(Seeds, ChaosSoak, ::testing::ValuesIn(kSeeds));

// The checks themselves: a register that keeps something else than it was
// sent, or replies something else than it holds, on a clean line where every
// record is reported done.
TEST(ChaosSoakChecks, SeeARegisterThatKeepsOrRepliesSomethingElse) {
    const Tally soakSoFar = tally();  // these runs are no part of the soak
    {
        BadLine line(1, sim::Model::DatecsMp550T);
        line.sim.line->setChaos(
            std::make_shared<sim::Chaos>(1, sim::ChaosRates{0, 0, 0, 0, 0, 0, 0, 0, 0}));
        line.sim.ecr->faults().alterStored = sim::Fault::times(2);
        Rows rows;
        for (int row = 1; row <= kRows; ++row) rows.rows[row] = goodsRow(row);
        const transfer::RunOutcome written = runTable(line, transfer::Direction::Write,
                                                      TableKind::Goods, rows, kRows, kRecordBudget);
        EXPECT_EQ(written.done, kRows);
        EXPECT_EQ(notHeldAsSent(line, rows.rows, written), QList<int>({1, 2}));

        putGoods(line);
        line.sim.ecr->scriptReplies([](QByteArrayView command) -> std::optional<QByteArray> {
            if (command == "R0;7;") return QByteArray("0;7;7;Other;");
            return std::nullopt;
        });
        const QStringList before(10, QStringLiteral("прежнее"));
        for (int row = 1; row <= kRows; ++row) rows.rows[row] = before;
        const transfer::RunOutcome read =
            runTable(line, transfer::Direction::Read, TableKind::Goods, rows, kRows, kRecordBudget);
        EXPECT_EQ(read.done, kRows);
        EXPECT_EQ(notReadAsHeld(line, rows.rows, before, read), QList<int>({7}));
    }
    tally() = soakSoFar;
}

}  // namespace
}  // namespace tabulon
