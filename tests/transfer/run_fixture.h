#pragma once

#include <gtest/gtest.h>

#include <QMap>
#include <QQueue>
#include <functional>

#include "sim/simulated_link.h"
#include "transfer/table_run.h"

namespace tabulon::transfer {

// Answers the failure dialog from a script (End when it runs dry) and notes
// what it was asked and told.
class ScriptedRunDialogs : public RunDialogs {
public:
    QList<FailureAnswer> answers;
    QList<int> asked;    // records the dialog was shown for
    QList<int> badData;  // records the bad-data message was shown for
    std::function<void()> whenAsked;

    FailureAnswer askAfterFailure(int record, int) override {
        asked << record;
        if (whenAsked) whenAsked();
        return answers.isEmpty() ? FailureAnswer::End : answers.takeFirst();
    }
    void tellBadData(int record, const QByteArray&) override { badData << record; }
};

// Rows in and out of a run, and the progress it reported.
class Rows : public RowSource, public RowSink, public RunProgress {
public:
    QMap<int, QStringList> rows;     // what a write sends
    QMap<int, QStringList> arrived;  // what a read put into the rows
    QList<int> counters;
    std::function<void(int counter)> onRecord;

    int changes = 0;  // moved on when `rows` change during a run

    QStringList rowCells(int row) const override { return rows.value(row); }
    int revision() const override { return changes; }
    void putRow(int row, const TableReply& reply) override { arrived[row] = reply.cells; }
    void recordDone(int counter, int) override {
        counters << counter;
        if (onRecord) onRecord(counter);
    }
};

// A run against the in-process simulated register, in virtual time.
class RunTest : public ::testing::Test {
protected:
    void useModel(Model model);
    RunOutcome run(Direction direction, TableKind kind,
                   const std::optional<IntervalTexts>& interval = std::nullopt);
    RunParts parts();

    // The record texts the register took, "W0;1;..." and "R3;2;".
    QStringList commands() const;
    std::chrono::milliseconds elapsed() const;

    Model model_ = Model::DatecsMp550T;
    sim::SimulatedLink sim = sim::makeSimulatedLink(sim::Model::DatecsMp550T);
    ScriptedRunDialogs dialogs;
    Rows rows;
    RunControl control;
    Connection connection{1, 1, 9600};
    WriteCheck* check = nullptr;  // what writes read back with

    void SetUp() override { ASSERT_EQ(sim.link->OpenPort(1, 9600), 1); }
};

}  // namespace tabulon::transfer
