// The link and the run's retry policy through Debian's ser2net to
// tabulon-sim, and the network port's time-outs against sockets of the test's
// own.
#include <gtest/gtest.h>

#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtEndian>
#include <atomic>
#include <thread>

#include "link/network_port.h"
#include "link/serial_link.h"
#include "link/telnet_stream.h"
#include "sim/sim_register.h"
#include "support/fake_server.h"
#include "support/ser2net_process.h"
#include "support/sim_process.h"
#include "transfer/transfer_record.h"

using namespace tabulon;
using tabulon::testing::FakeConnection, tabulon::testing::FakeServer;

namespace {

QByteArray fillRow() {
    return QByteArray("255;").repeated(24);
}

// Notes every question and ends the run: the run below is to need none, and
// answering must not touch the server, which the test's own thread restarts.
class NoteAndEnd final : public transfer::RunDialogs {
public:
    transfer::FailureAnswer askAfterFailure(int record, int linkResult) override {
        asked.append({record, linkResult});
        return transfer::FailureAnswer::End;
    }
    void tellBadData(int, const QByteArray&) override {}

    QList<std::pair<int, int>> asked;
};

}  // namespace

// Fill bytes (0xFF) cross Telnet both ways: the frames go out between runs of
// them, the register puts them inside its lines, and a logo row of 255s goes
// in and comes back; every reply is the one the pseudo-terminal gives itself.
TEST(SerialServerLink, FillBytesCrossTheTelnetEscapingBothWays) {
    ASSERT_FALSE(Ser2netProcess::program().isEmpty()) << "scripts/deps.sh installs ser2net";
    SimProcess ecr({"--model", "neon", "--fill-inside-lines"});
    ASSERT_FALSE(ecr.path().isEmpty());
    Ser2netProcess server(ecr.path(), 4800);
    ASSERT_FALSE(server.rfc2217().isEmpty());

    struct Read {
        int table, record;
    };
    const Read reads[] = {{136, 1}, {3, 1}, {2, 1}};
    QList<QByteArray> replies[2];
    const QString devices[2] = {ecr.path(), server.rfc2217()};
    for (int way = 0; way < 2; ++way) {
        SCOPED_TRACE(devices[way].toStdString());
        auto link = link::makeSerialLink([&](int) { return devices[way]; });
        ASSERT_EQ(link->OpenPort(1, 115200), 1) << qPrintable(link->openErrorText());
        EXPECT_EQ(link->WriteRecord(1, 136, 1, fillRow()),
                  7 + 96 + 4);  // "W136;1;", the row, frame
        // A name with 0xFF in it: a byte lost or doubled on the way breaks the
        // frame's check bytes or comes back in the record.
        EXPECT_GT(link->WriteRecord(1, 3, 1, "1;O\xFF\xFFp\xFF;1;0;"), 0);
        for (const Read& read : reads) {
            QByteArray reply;
            EXPECT_GT(link->ReadRecord(1, read.table, read.record, reply), 0);
            replies[way].append(reply);
        }
        EXPECT_EQ(link->ClosePort(1), 1);
    }
    EXPECT_EQ(replies[1], replies[0]);
    // The register put 0xFF into the logo row's reply, and it came through as one byte.
    ASSERT_FALSE(replies[1].isEmpty());
    EXPECT_EQ(QByteArray(replies[1][0]).replace('\xFF', ""), "136;1;" + fillRow());
    EXPECT_EQ(replies[1][0].count('\xFF'), 2);
    EXPECT_EQ(QByteArray(replies[1][1]).replace('\xFF', "").left(8), "3;1;1;Op");
}

// A server killed in the middle of a run and started again a second later:
// the run waits for it, nobody is asked, and every record is written and
// read back as its own.
TEST(SerialServerLink, ARunOutlivesAServerRestartedASecondLater) {
    ASSERT_FALSE(Ser2netProcess::program().isEmpty()) << "scripts/deps.sh installs ser2net";
    for (const bool telnet : {true, false}) {
        SCOPED_TRACE(telnet ? "RFC 2217" : "raw TCP");
        SimProcess ecr({"--model", "neon", "--log"});
        ASSERT_FALSE(ecr.path().isEmpty());
        Ser2netProcess server(ecr.path(), telnet ? 4800 : 115200);
        const QString address = telnet ? server.rfc2217() : server.raw();
        NoteAndEnd dialogs;
        QList<transfer::RecordOutcome> outcomes;
        std::atomic<int> done{0};
        std::atomic<bool> killed{false};
        // The link works on a thread of its own, as in the window, while the
        // server is killed and started again here.
        std::thread run([&] {
            auto link = link::makeSerialLink([&](int) { return address; });
            transfer::RunControl control;
            transfer::RecordTransfer records(*link, {1, 1, 115200}, dialogs, control);
            link->OpenPort(1, 115200);
            for (int record = 1; record <= 6; ++record) {
                while (record == 4 && !killed) QThread::msleep(10);
                const QByteArray data = QByteArray::number(record) + ";Op;1;0;";
                outcomes.append(records.transfer(
                    record, [&] { return link->WriteRecord(1, 3, record, data); }));
                done = record;
            }
            for (int record = 1; record <= 6; ++record) {
                QByteArray reply;
                const QByteArray n = QByteArray::number(record);
                EXPECT_GT(link->ReadRecord(1, 3, record, reply), 0);
                EXPECT_EQ(reply, "3;" + n + ';' + n + ";Op;1;");
            }
        });
        const QDeadlineTimer deadline(60000);
        while (done < 3 && !deadline.hasExpired()) QThread::msleep(10);
        server.stop();
        killed = true;
        QThread::sleep(1);
        EXPECT_TRUE(server.start());
        run.join();
        EXPECT_EQ(outcomes, QList<transfer::RecordOutcome>(6, transfer::RecordOutcome::Done));
        EXPECT_EQ(dialogs.asked, (QList<std::pair<int, int>>{}));
    }
}

// No answer within the connect time-out, and a server that never answers the
// COM-PORT option or confirms the line settings: each ends in its time-out
// with its own words, the port closed.
TEST(SerialServerLink, AServerThatDoesNotAnswerEndsInItsTimeOut) {
    // A listening socket with a backlog of one, its queue filled: the next
    // connection's SYN goes unanswered, as with a server that is off.
    const tabulon::testing::LoopbackListener full(0);
    ASSERT_NE(full.socket(), -1);
    const quint16 fullPort = full.port();
    QList<int> fillers;
    for (int i = 0; i < 3; ++i) {
        const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        ::connect(filler, reinterpret_cast<const sockaddr*>(&full.address()), sizeof(sockaddr_in));
        fillers.append(filler);
    }

    // A server that takes connections and says nothing.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));

    link::NetworkBytePort::Timeouts timeouts;
    timeouts.connect = std::chrono::milliseconds(300);
    timeouts.negotiation = std::chrono::milliseconds(300);
    using link::NetworkFailure;
    const struct {
        QString address;
        bool opens;
        QString error;
        std::optional<NetworkFailure> failure;
    } rows[] = {
        {QStringLiteral("tcp://127.0.0.1:%1").arg(fullPort), false,
         QStringLiteral("no answer within the connect time-out (127.0.0.1:%1, 300 ms)")
             .arg(fullPort),
         NetworkFailure::NoAnswer},
        {QStringLiteral("rfc2217://127.0.0.1:%1").arg(silent.serverPort()), false,
         "the server did not answer the COM-PORT option (300 ms)",
         NetworkFailure::OptionNotAnswered},
        {QStringLiteral("tcp://127.0.0.1:%1").arg(silent.serverPort()), true, "", std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.address.toStdString());
        link::NetworkBytePort port(timeouts);
        EXPECT_EQ(port.open(row.address), row.opens);
        EXPECT_EQ(port.isOpen(), row.opens);
        EXPECT_EQ(port.errorString(), row.error);
        EXPECT_EQ(port.serverFailure(), row.failure);
        if (row.opens) {
            // Raw TCP has nothing to confirm; a read on the silent line ends
            // in its own time-out with nothing.
            EXPECT_TRUE(port.apply(link::LineSettings{}));
            EXPECT_EQ(port.readByte(), std::nullopt);
            EXPECT_TRUE(port.close());
        }
    }
    for (int filler : fillers) ::close(filler);
}

// A Telnet server that, as ser2net does while it opens its device, drops
// what comes before its greeting and refuses COM-PORT only when asked after
// it: the port asks once the server has greeted, and hears the refusal.
TEST(SerialServerLink, TheOptionsAreAskedForOnceTheServerHasGreeted) {
    FakeServer server([](FakeConnection& client) {
        // Whatever the client sent before the greeting is lost.
        QThread::msleep(100);
        client.dropReceived();
        client.send("\xFF\xFB\x03");  // IAC WILL SUPPRESS-GO-AHEAD
        if (client.receiveUntil("\xFF\xFB\x2C")) client.send("\xFF\xFE\x2C");  // IAC DONT COM-PORT
        client.waitForClose();
    });
    ASSERT_TRUE(server.listening());

    link::NetworkBytePort::Timeouts timeouts;
    timeouts.negotiation = std::chrono::milliseconds(3000);
    link::NetworkBytePort port(timeouts);
    EXPECT_FALSE(port.open(server.rfc2217()));
    EXPECT_EQ(port.errorString(), "the server refused the COM-PORT option");
    port.close();
}

namespace {

QByteArray comPortAnswer(std::uint8_t command, QByteArray value) {
    return link::telnet::comPortCommand(command + link::telnet::kServerOffset, value);
}

QByteArray baudValue(quint32 baud) {
    QByteArray value(4, '\0');
    qToBigEndian<quint32>(baud, value.data());
    return value;
}

// A Telnet server that offers COM-PORT at once and, when the line settings
// have come, answers them with `batches`, one send each, a pause between.
std::function<void(FakeConnection&)> answering(const QList<QByteArray>& batches) {
    return [batches](FakeConnection& client) {
        client.send("\xFF\xFD\x2C");  // IAC DO COM-PORT
        // The DTR command is the last of the settings.
        if (client.receiveUntil(link::telnet::comPortCommand(link::telnet::kSetControl, "\x08"))) {
            for (const QByteArray& batch : batches) {
                client.send(batch);
                QThread::msleep(100);
            }
        }
        client.waitForClose();
    };
}

}  // namespace

// The server's answers to the line settings as servers send them: each
// setting is taken as confirmed by the answer it got, however many answers
// came and whatever the server said of its port between them.
TEST(SerialServerLink, TheLineSettingsStandByTheServersAnswers) {
    using namespace link::telnet;
    const QByteArray speed = comPortAnswer(kSetBaudRate, baudValue(115200));
    const QByteArray dataBits = comPortAnswer(kSetDataSize, "\x08");
    const QByteArray parity = comPortAnswer(kSetParity, "\x01");
    const QByteArray stopBits = comPortAnswer(kSetStopSize, "\x02");
    const QByteArray flow = comPortAnswer(kSetControl, "\x01");
    const QByteArray lineState = comPortCommand(106, "\x60");   // NOTIFY-LINESTATE
    const QByteArray modemState = comPortCommand(107, "\xFF");  // NOTIFY-MODEMSTATE, an IAC
    const QByteArray echo("\xFF\xFB\x01\xFF\xFD\x1F");          // WILL ECHO, DO NAWS
    const struct {
        const char* name;
        QList<QByteArray> batches;
        bool applies;
        QString error;
    } rows[] = {
        {"each answered once", {speed + dataBits + parity + stopBits + flow}, true, ""},
        {"the speed answered twice before the stop bits",
         {speed + speed + dataBits + parity + flow, stopBits},
         true,
         ""},
        {"notices and other options between the answers, split inside a command",
         {lineState + speed + modemState.left(5), modemState.mid(5) + echo + dataBits,
          parity + stopBits.left(3), stopBits.mid(3) + flow},
         true,
         ""},
        {"another speed set",
         {comPortAnswer(kSetBaudRate, baudValue(9600)) + dataBits + parity + stopBits + flow},
         false,
         "the server refused a line setting (speed 115200 asked, 9600 set)"},
        {"no answers",
         {},
         false,
         "the server did not confirm the line settings (0 of 5 within 600 ms)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FakeServer server(answering(row.batches));
        link::NetworkBytePort::Timeouts timeouts;
        timeouts.negotiation = std::chrono::milliseconds(600);
        link::NetworkBytePort port(timeouts);
        ASSERT_TRUE(port.open(server.rfc2217())) << qPrintable(port.errorString());
        link::LineSettings settings;
        settings.baudRate = 115200;
        settings.dataTerminalReady = true;
        EXPECT_EQ(port.apply(settings), row.applies);
        EXPECT_EQ(port.errorString().toStdString(), row.error.toStdString());
        port.close();
    }
}

// Replies that come after their time-out, through either kind of server:
// the late answer is dropped before the next exchange, and every read
// retried as a run retries a record returns exactly its own record.
TEST(SerialServerLink, ALateReplyIsNeverTakenForALaterRecord) {
    ASSERT_FALSE(Ser2netProcess::program().isEmpty()) << "scripts/deps.sh installs ser2net";
    const auto record = [](int n) {
        return QByteArray::number(n) + ";Op" + QByteArray::number(n) + ";1;0;";
    };
    const auto reply = [](int n) {
        return "3;" + QByteArray::number(n) + ';' + QByteArray::number(n) + ";Op" +
               QByteArray::number(n) + ";1;";
    };
    for (const bool telnet : {false, true}) {
        SCOPED_TRACE(telnet ? "RFC 2217" : "raw TCP");
        SimProcess ecr({"--model", "neon", "--late-replies=2"});
        ASSERT_FALSE(ecr.path().isEmpty());
        Ser2netProcess server(ecr.path(), 115200);
        const QString address = telnet ? server.rfc2217() : server.raw();
        auto link = link::makeSerialLink([&](int) { return address; });
        ASSERT_EQ(link->OpenPort(1, 115200), 1) << qPrintable(link->openErrorText());
        int failures = 0;
        for (int n = 1; n <= 4; ++n) {
            int result = -1;
            for (int attempt = 0; attempt < 5 && result < 0; ++attempt) {
                result = link->WriteRecord(1, 3, n, record(n));
                if (result < 0) ++failures;
            }
            ASSERT_GT(result, 0) << n;
        }
        for (int n = 1; n <= 4; ++n) {
            QByteArray got;
            int result = -1;
            for (int attempt = 0; attempt < 5 && result < 0; ++attempt) {
                result = link->ReadRecord(1, 3, n, got);
                if (result < 0) ++failures;
            }
            ASSERT_GT(result, 0) << n;
            EXPECT_EQ(got, reply(n));
        }
        // The two late replies each cost an exchange.
        EXPECT_GE(failures, 1);
        link->ClosePort(1);
    }
}

// A server that hangs up on opening says why in words, as ser2net does when
// another client holds its port: the failure tells them.
TEST(SerialServerLink, TheWordsOfAServerThatHangsUpAreTold) {
    // ser2net's options: WILL SGA, DO SGA, WILL ECHO, DONT ECHO, DO BINARY,
    // WILL BINARY, DO COM-PORT.
    const QByteArray greeting = QByteArray::fromHex("fffb03fffd03fffb01fffe01fffd00fffb00fffd2c");
    const struct {
        const char* name;
        QByteArray sent;
        QString error;
    } rows[] = {
        {"the port held by another client", greeting + "Port's device already in use\r\n",
         "the server closed the connection (Port's device already in use)"},
        {"no words", greeting, "the server closed the connection"},
        {"bytes that are not words", greeting + "\x01\x02\xFF\xFF",
         "the server closed the connection"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FakeServer server([sent = row.sent](FakeConnection& client) {
            client.send(sent);
            client.hangUp();
        });
        ASSERT_TRUE(server.listening());
        link::NetworkBytePort port;
        link::LineSettings settings;
        settings.baudRate = 9600;
        EXPECT_FALSE(port.open(server.rfc2217()) && port.apply(settings));
        EXPECT_EQ(port.errorString().toStdString(), row.error.toStdString());
        EXPECT_EQ(port.serverFailure(), link::NetworkFailure::ConnectionClosed);
        port.close();
    }
}

// A Telnet server that passes the register's bytes on without doubling a
// 0xFF, one right before the "E" of each refusal: the refusal stays one, and
// the trace shows the bytes as they came over the socket.
TEST(SerialServerLink, AnIacThatStartsNoCommandIsTheRegistersData) {
    FakeServer server([](FakeConnection& client) {
        sim::SimulatedRegister ecr(sim::Model::Neon);
        ecr.faults().errorReplies = sim::Fault::always();
        link::telnet::Stream telnet;
        client.send("\xFF\xFD\x2C");  // IAC DO COM-PORT
        for (QByteArray bytes; !(bytes = client.receive()).isEmpty();) {
            QByteArray data, out;
            telnet.receive(bytes, data);
            for (const link::telnet::Subnegotiation& sub : telnet.takeSubnegotiations())
                out += comPortAnswer(std::uint8_t(sub.payload[0]), sub.payload.mid(1));
            out += ecr.receive(data).replace("\nE",
                                             "\n\xFF"
                                             "E");
            client.send(out);
        }
    });
    ASSERT_TRUE(server.listening());
    QTemporaryDir directory;
    QString error;
    const QString address = server.rfc2217();
    auto link = link::makeTracedSerialLink([&](int) { return address; },
                                           directory.filePath("t.trace"), error);
    ASSERT_EQ(link->OpenPort(1, 9600), 1) << qPrintable(link->openErrorText());
    EXPECT_EQ(link->WriteRecord(1, 3, 1, "1;Op;1;0;"), -15);
    EXPECT_EQ(link->lastRefusal(), "E0;");
    link.reset();
    QFile trace(directory.filePath("t.trace"));
    ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
    EXPECT_TRUE(trace.readAll().contains("<-  06 0A FF 45 30 3B 0D"));
}
