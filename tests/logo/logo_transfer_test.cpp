#include "logo/logo_transfer.h"

#include <gtest/gtest.h>

#include "logo/dot_row.h"
#include "sim/simulated_link.h"
#include "sim/tables.h"

namespace tabulon::logo {
namespace {

using How = LogoTransferEnd::How;

class LogoTransfer : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(sim.link->OpenPort(1, 9600), 1); }

    QByteArray stored(int record) const {
        QByteArray fields;
        sim.ecr->tables().read(kLogoTable, record, fields);
        return fields;
    }
    QList<QByteArray> writes() const {
        QList<QByteArray> out;
        for (const QByteArray& command : sim.ecr->commands())
            if (command.startsWith('W')) out << command;
        return out;
    }

    sim::SimulatedLink sim = sim::makeSimulatedLink(sim::Model::DatecsMp550T);
    std::atomic<bool> cancelled{false};
    QList<int> told;
    std::function<void(int)> tell = [this](int record) { told << record; };
};

QImage picture(int height) {
    QImage image(192, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < height; ++y) image.setPixel(y % 192, y, qRgb(0, 0, 0));
    return image;
}

TEST_F(LogoTransfer, WritesEveryRowOfThePictureAndNoMore) {
    const QByteArray untouched = stored(151);
    const QList<QByteArray> records = logoRecords(picture(150));
    const LogoTransferEnd end = writeLogo(*sim.link, 1, records, tell, cancelled);

    EXPECT_EQ(end.how, How::Complete);
    const QList<QByteArray> sent = writes();
    ASSERT_EQ(sent.size(), 150);
    EXPECT_EQ(sent.front(), "W136;1;128;" + QByteArray("0;").repeated(23));
    EXPECT_EQ(sent[9], "W136;10;0;64;" + QByteArray("0;").repeated(22));
    EXPECT_EQ(sent.back(),
              "W136;150;" + QByteArray("0;").repeated(18) + "4;" + QByteArray("0;").repeated(5));
    EXPECT_EQ(stored(150), records.back());
    EXPECT_EQ(stored(151), untouched);
    ASSERT_EQ(told.size(), 150);
    EXPECT_EQ(told.front(), 1);
    EXPECT_EQ(told.back(), 150);
}

TEST_F(LogoTransfer, AWriteStopsAtTheFirstRefusedRecord) {
    // Record 201 is beyond the register's logo: it answers "E" ten times.
    const LogoTransferEnd end = writeLogo(*sim.link, 1, logoRecords(picture(230)), tell, cancelled);
    EXPECT_EQ(end.how, How::Failed);
    EXPECT_EQ(end.record, 201);
    EXPECT_EQ(end.linkResult, -15);
    EXPECT_EQ(writes().size(), 200 + 10);
    EXPECT_EQ(told.back(), 201);

    sim.ecr->clearCommands();
    told.clear();
    sim.ecr->faults().silent = sim::Fault::always();
    EXPECT_EQ(writeLogo(*sim.link, 1, logoRecords(picture(5)), tell, cancelled).record, 1);
    EXPECT_EQ(told, QList<int>{1});
    EXPECT_TRUE(sim.ecr->commands().isEmpty());
}

TEST_F(LogoTransfer, ReadsTheTwoHundredRowsOfTheRegister) {
    QImage read;
    const LogoTransferEnd end = readLogo(
        *sim.link, 1, tell,
        [&](int row, const QList<std::uint8_t>& values) { drawRow(read, row, values); }, cancelled);
    EXPECT_EQ(end.how, How::Complete);
    ASSERT_EQ(told.size(), 200);
    EXPECT_EQ(sim.ecr->commands().front(), "R136;1;");
    EXPECT_EQ(sim.ecr->commands().back(), "R136;200;");
    ASSERT_EQ(read.size(), QSize(192, 200));
    for (int record = 1; record <= 200; ++record)
        ASSERT_EQ(recordText(rowBytes(read, record - 1)), stored(record)) << record;
}

TEST_F(LogoTransfer, AReadStopsAtTheFirstFailureKeepingTheRowsBefore) {
    QList<int> rows;
    sim.ecr->scriptReplies([](QByteArrayView command) -> std::optional<QByteArray> {
        if (command == "R136;4;") return QByteArray("E2;");
        return std::nullopt;
    });
    const LogoTransferEnd end = readLogo(
        *sim.link, 1, tell, [&](int row, const QList<std::uint8_t>&) { rows << row; }, cancelled);
    EXPECT_EQ(end.how, How::Failed);
    EXPECT_EQ(end.record, 4);
    EXPECT_EQ(end.linkResult, -15);
    EXPECT_EQ(rows, (QList<int>{0, 1, 2}));
    EXPECT_EQ(told, (QList<int>{1, 2, 3, 4}));

    // Not connected: the window's register number is -1, and the link
    // refuses it before anything is sent.
    rows.clear();
    sim.ecr->clearCommands();
    const LogoTransferEnd refused = readLogo(
        *sim.link, -1, nullptr, [&](int row, const QList<std::uint8_t>&) { rows << row; },
        cancelled);
    EXPECT_EQ(refused.how, How::Failed);
    EXPECT_EQ(refused.record, 1);
    EXPECT_EQ(refused.linkResult, -2);
    EXPECT_TRUE(rows.isEmpty());
    EXPECT_TRUE(sim.ecr->commands().isEmpty());
}

TEST_F(LogoTransfer, ACancelledTransferEndsBetweenTwoRecords) {
    const LogoTransferEnd end = writeLogo(
        *sim.link, 1, logoRecords(picture(50)),
        [&](int record) {
            if (record == 3) cancelled = true;
        },
        cancelled);
    EXPECT_EQ(end.how, How::Cancelled);
    EXPECT_EQ(end.record, 4);
    EXPECT_EQ(writes().size(), 3);
}

}  // namespace
}  // namespace tabulon::logo
