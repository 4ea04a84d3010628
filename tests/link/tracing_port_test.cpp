#include "link/tracing_port.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include "link/frame.h"
#include "link_fixture.h"
#include "sim/simulated_link.h"

using namespace tabulon;

namespace {

// A register link whose simulated line is traced into memory, in virtual time.
struct TracedLink {
    std::shared_ptr<link::VirtualClock> clock = std::make_shared<link::VirtualClock>();
    std::shared_ptr<sim::SimulatedRegister> ecr =
        std::make_shared<sim::SimulatedRegister>(sim::Model::Neon);
    std::shared_ptr<sim::SimulatedLine> line = std::make_shared<sim::SimulatedLine>(clock);
    QBuffer* trace = nullptr;
    std::unique_ptr<link::RegisterLink> link;

    TracedLink() {
        line->attach(ecr);
        auto buffer = std::make_unique<QBuffer>();
        buffer->open(QIODevice::WriteOnly);
        trace = buffer.get();
        link::RegisterLink::Parts parts;
        parts.port = std::make_unique<link::TracingPort>(std::make_unique<sim::SimulatedPort>(line),
                                                         std::move(buffer), clock);
        parts.clock = clock;
        parts.priority = std::make_shared<link::CountingPriority>();
        link = std::make_unique<link::RegisterLink>(std::move(parts));
    }

    // The trace lines after the one that says when it began.
    QStringList lines() const {
        QStringList all = QString::fromUtf8(trace->data()).split(u'\n');
        EXPECT_TRUE(all.front().startsWith("# trace begun ")) << qPrintable(all.front());
        EXPECT_TRUE(all.back().isEmpty());
        return all.mid(1, all.size() - 2);
    }
};

QString hex(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

}  // namespace

TEST(TracingPort, ARecordReadStepByStep) {
    TracedLink traced;
    ASSERT_EQ(traced.link->OpenPort(1, 9600), 1);
    QByteArray reply;
    ASSERT_GT(traced.link->ReadRecord(1, 2, 1, reply), 0);
    ASSERT_EQ(traced.link->ClosePort(1), 1);

    const QString fill3 = "FF FF FF";
    const QString fill10 = "FF FF FF FF FF FF FF FF FF FF";
    const QString fill11 = fill10 + " FF";
    const QString status = hex(link::BuildFrame("01;NEON;"));
    const QString replyLine = hex(link::BuildFrame(reply));
    const QStringList expected = {
        "     0.000 open COM1",
        "     0.000 line 9600 baud, 8N2, DTR on",
        "     0.000 ->  " + fill11 + "  <FF×11>",
        "     0.000 ->  " + fill10 + " 11 11 30 31 " + fill10 + "  <FF×10><DC1><DC1>01<FF×10>",
        "     0.000 <-  " + status,
        "     0.000 ->  " + fill3 + " 06 " + fill3 + "  <FF×3><ACK><FF×3>",
        "     0.000 ->  " + fill11 + " 0A 52 32 3B 31 3B 0D 98 78  <FF×11><LF>R2;1;<CR><98>x",
        "     0.000 <-  06 " + replyLine,
        "     0.000 ->  " + fill3 + " 06 " + fill3 + "  <FF×3><ACK><FF×3>",
        "     0.000 ->  FF FF FF FF FF 13 13 FF FF FF FF FF  <FF×5><DC3><DC3><FF×5>",
        "     0.000 ->  FF FF FF FF FF FF FF FF 13 13 FF FF FF FF FF FF FF FF  "
        "<FF×8><DC3><DC3><FF×8>",
        "     0.000 close",
    };
    const QStringList lines = traced.lines();
    ASSERT_EQ(lines.size(), expected.size()) << qPrintable(lines.join('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        // Received lines: the check bytes show as whatever characters they are.
        if (expected[i].contains("<-"))
            EXPECT_TRUE(lines[i].startsWith(expected[i] + "  <")) << qPrintable(lines[i]);
        else
            EXPECT_EQ(lines[i], expected[i]);
    }
    EXPECT_TRUE(lines[4].endsWith("  <LF>01;NEON;<CR>" + lines[4].right(2)));
    EXPECT_TRUE(lines[7].contains("  <ACK><LF>" + QString::fromLatin1(reply) + "<CR>"));
    // What the link sent is what went on the line.
    EXPECT_EQ(traced.line->sent().size(), 11 + 24 + 7 + 11 + 9 + 7 + 12 + 18);
}

TEST(TracingPort, ASilentLineShowsEachReadTimeOutWithItsTime) {
    TracedLink traced;
    traced.ecr->faults().silent = sim::Fault::always();
    ASSERT_EQ(traced.link->OpenPort(1, 4800), 1);
    QByteArray reply;
    EXPECT_EQ(traced.link->ReadRecord(1, 10, 1, reply), -1);

    const QStringList lines = traced.lines();
    ASSERT_EQ(lines.size(), 2 + 1 + 5 * 2 + 1);
    EXPECT_EQ(lines[1], "     0.000 line 4800 baud, 8N2, DTR on");
    for (int attempt = 0; attempt < 5; ++attempt) {
        const QString at = QStringLiteral("%1").arg(attempt * 300.0, 10, 'f', 3);
        EXPECT_TRUE(lines[3 + 2 * attempt].startsWith(at + " ->  FF"))
            << qPrintable(lines[3 + 2 * attempt]);
        EXPECT_EQ(lines[4 + 2 * attempt],
                  QStringLiteral("%1 <-  (no byte within the read time-out)")
                      .arg((attempt + 1) * 300.0, 10, 'f', 3));
    }
    EXPECT_EQ(lines.back(),
              "  1500.000 ->  FF FF FF FF FF FF FF FF 13 13 FF FF FF FF FF FF FF FF  "
              "<FF×8><DC3><DC3><FF×8>");
}

TEST(TracingPort, ReadableText) {
    EXPECT_EQ(link::readableBytes("\xFF"), "<FF>");
    EXPECT_EQ(link::readableBytes(QByteArray("\x00\x15\x1A\x7F", 4)), "<NUL><NAK><1A><7F>");
    // Windows-1251 letters as letters; 0x98 has no character in the code page.
    EXPECT_EQ(link::readableBytes("W10;1;\xC2\xB3\xE4\xE4\xB3\xEB 1;\x98"),
              QStringLiteral("W10;1;Відділ 1;<98>"));
    EXPECT_EQ(link::hexBytes("\x0A\xFF"), "0A FF");
    EXPECT_EQ(link::hexBytes(""), "");
}

TEST(TracingPort, AppendsToItsFileAndRefusesOneItCannotOpen) {
    QTemporaryDir directory;
    const QString path = directory.filePath("exchange.trace");
    QFile earlier(path);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier run\n");
    earlier.close();

    QString error;
    auto clock = std::make_shared<link::VirtualClock>();
    auto line = std::make_shared<sim::SimulatedLine>(clock);
    {
        auto port = link::TracingPort::appendingTo(std::make_unique<sim::SimulatedPort>(line), path,
                                                   error, clock);
        ASSERT_TRUE(port) << qPrintable(error);
        ASSERT_TRUE(port->open("/dev/ttyS3"));
        port->write("\x11");
        port->close();
        port->write("\x13");
        // On disk already, before the port goes.
        QFile written(path);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = written.readAll().split('\n');
        ASSERT_EQ(lines.size(), 7);
        EXPECT_EQ(lines[5], "     0.000 --  13  <DC3>  (not sent: the port is not open)");
        EXPECT_EQ(lines[0], "earlier run");
        EXPECT_TRUE(lines[1].startsWith("# trace begun "));
        EXPECT_EQ(lines[2], "     0.000 open /dev/ttyS3");
        EXPECT_EQ(lines[3], "     0.000 ->  11  <DC1>");
    }

    const QString nowhere = directory.filePath("no/such/dir/x.trace");
    EXPECT_FALSE(link::TracingPort::appendingTo(std::make_unique<sim::SimulatedPort>(line), nowhere,
                                                error, clock));
    // The system's own words for it.
    QFile probe(nowhere);
    EXPECT_FALSE(probe.open(QIODevice::Append));
    EXPECT_EQ(error, probe.errorString());
#ifndef Q_OS_WIN
    EXPECT_EQ(error, "No such file or directory");
#endif
}
