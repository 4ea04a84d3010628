#include "link/result_codes.h"

#include <QString>
#include <functional>
#include <set>
#include <vector>

#include "link_fixture.h"
#include "support/forwarding_port.h"

using namespace tabulon;
using link::Operation;
using link::ResultCause;
using sim::Fault;

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

using O = Operation;
using C = ResultCause;

const std::vector<Operation> kEveryOperation = {
    O::OpenPort,   O::ClosePort,   O::SelectRegister, O::PollRegister,
    O::ReadRecord, O::WriteRecord, O::ResetLink,      O::DetectRegister,
};

}  // namespace

// What the faces print: the window and a fleet report the cause's Russian
// text, tabulon-cli "error N: <meaning of N>". A code shared by several causes
// has one meaning for the number alone.
TEST(ResultTable, EachOperationSaysEachOfItsResultsExactly) {
    const char* exchangeFailed =
        "the register did not take the command, an awaited byte did not come, or a command or "
        "reply was longer than the link takes";
    const char* closeFailed = "that port is not open, or it did not close";
    const char* notSent = "the port is not open, or its serial server is not reachable";
    constexpr auto ops = link::operations;
    const link::Operations every =
        link::operations({O::OpenPort, O::ClosePort, O::SelectRegister, O::PollRegister,
                          O::ReadRecord, O::WriteRecord, O::ResetLink, O::DetectRegister});
    struct Row {
        ResultCause cause;
        int code;
        link::Operations operations;
        QString russian;
        QString english;
        const char* meaning = nullptr;  // of the number alone, where not `english`
    };
    const Row rows[] = {
        {C::Done, 0, every, "выполнено", "done"},
        {C::PortNumberOutOfRange, -1, ops({O::OpenPort}), "номер порта не от 1 до 9",
         "port number outside 1 to 9"},
        {C::SpeedNotSupported, -2, ops({O::OpenPort}), "скорость не поддерживается",
         "speed not supported"},
        {C::DeviceDidNotOpen, -3, ops({O::OpenPort}), "порт не открывается",
         "the port could not be opened"},
        {C::NoLineSettings, -4, ops({O::OpenPort}), "параметры линии не составлены",
         "the line settings could not be built"},
        {C::LineSettingsNotApplied, -5, ops({O::OpenPort}), "параметры линии не установлены",
         "the line settings could not be applied"},
        {C::NotTheOpenPort, -1, ops({O::ClosePort}), "этот порт не открыт", "that port is not open",
         closeFailed},
        {C::CloseRefused, -1, ops({O::ClosePort}), "порт не закрывается", "the port did not close",
         closeFailed},
        {C::NoAnswer, -1, ops({O::SelectRegister, O::PollRegister}), "нет ответа",
         "no answer from the register"},
        {C::NoAnswer, -1, ops({O::ReadRecord, O::WriteRecord}), "нет ответа за 300 мс",
         "the register did not answer its select sequence"},
        {C::RegisterNumberOutOfRange, -2, ops({O::ReadRecord, O::WriteRecord, O::DetectRegister}),
         "номер ЭККА не от 1 до 99", "register number outside 1 to 99"},
        {C::RefusedFrame, -12, ops({O::ReadRecord, O::WriteRecord}), "ЭККА не принял команду",
         "the register did not take the command", exchangeFailed},
        {C::AwaitedByteMissing, -12, ops({O::ReadRecord, O::WriteRecord}),
         "ожидаемый байт не пришёл", "an awaited byte did not come", exchangeFailed},
        {C::CommandTooLong, -12, ops({O::ReadRecord, O::WriteRecord}),
         "команда длиннее допустимого", "the command was longer than the link takes",
         exchangeFailed},
        {C::ReplyTooLong, -12, ops({O::ReadRecord, O::WriteRecord}), "ответ длиннее допустимого",
         "the reply was longer than the link takes", exchangeFailed},
        {C::DamagedReplyLine, -12, ops({O::WriteRecord}), "ответ повреждён",
         "the reply line was damaged", exchangeFailed},
        {C::RegisterRefused, -15, ops({O::ReadRecord, O::WriteRecord}), "ЭККА отвечает «E»",
         "the register refused the record (\"E\" reply)"},
        {C::ConnectionLost, -12, ops({O::ReadRecord, O::WriteRecord}),
         "сервер порта закрыл соединение", "the serial server closed the connection",
         exchangeFailed},
        {C::PortNotOpen, -4, ops({O::ReadRecord, O::WriteRecord}), "порт не открыт",
         "the port is not open", notSent},
        {C::ServerUnreachable, -4, ops({O::ReadRecord, O::WriteRecord}), "сервер порта недоступен",
         "the serial server is not reachable", notSent},
        {C::CheckBytesDiffer, -1000, ops({O::ReadRecord}), "контрольные байты не сходятся",
         "check bytes of the reply do not match"},
        {C::PortNotOpen, -1, ops({O::ResetLink, O::DetectRegister}), "порт не открыт",
         "the port is not open"},
        {C::NoAnswer, -3, ops({O::DetectRegister}), "ЭККА с этим номером не отвечает",
         "no register answers with that number"},
    };
    std::set<std::pair<Operation, ResultCause>> listed;
    for (const Row& row : rows) {
        for (Operation operation : kEveryOperation) {
            if (!link::contains(row.operations, operation)) continue;
            SCOPED_TRACE(row.english.toStdString() + " from " + std::to_string(int(operation)));
            listed.insert({operation, row.cause});
            const link::ResultRow* found = link::resultRow(operation, row.cause);
            ASSERT_NE(found, nullptr);
            EXPECT_EQ(found->code, row.code);
            EXPECT_EQ(link::russianText(operation, row.cause), row.russian);
            EXPECT_EQ(link::englishText(operation, row.cause), row.english);
            EXPECT_EQ(link::resultMeaning(operation, row.code),
                      row.meaning ? QString(row.meaning) : row.english);
        }
    }
    // Nothing in the table beyond these.
    for (const link::ResultRow& row : link::kResultRows) {
        for (Operation operation : kEveryOperation) {
            if (!link::contains(row.operations, operation)) continue;
            EXPECT_EQ(listed.count({operation, row.cause}), 1u) << int(row.cause);
        }
    }
    EXPECT_EQ(link::resultMeaning(O::OpenPort, 1), "done");
    EXPECT_EQ(link::resultMeaning(O::ReadRecord, 29), "done");
    EXPECT_EQ(link::resultMeaning(O::ReadRecord, -3), "unknown result");
    EXPECT_EQ(link::resultMeaning(O::ResetLink, -12), "unknown result");
    EXPECT_EQ(link::russianText(O::OpenPort, C::CheckBytesDiffer), "unknown result");
}

namespace {

using Drive = std::function<int(sim::SimulatedLink&)>;

// A port whose device refuses to close, as a pulled USB adapter may.
class CloseRefusingPort : public tabulon::testing::ForwardingPort {
public:
    explicit CloseRefusingPort(std::shared_ptr<sim::SimulatedLine> line)
        : ForwardingPort(std::make_unique<sim::SimulatedPort>(line)) {}
    bool close() override {
        ForwardingPort::close();
        return false;
    }
};

// A serial server's port whose connection ends after `writesLeft` writes:
// from then on it is closed, as a network port is once the server hung up.
class HangingUpPort : public tabulon::testing::ForwardingPort {
public:
    HangingUpPort(std::shared_ptr<sim::SimulatedLine> line, int writesLeft)
        : ForwardingPort(std::make_unique<sim::SimulatedPort>(line)), writesLeft_(writesLeft) {}
    bool isOpen() const override { return writesLeft_ > 0 && ForwardingPort::isOpen(); }
    void write(QByteArrayView bytes) override {
        if (!isOpen()) return;
        ForwardingPort::write(bytes);
        --writesLeft_;
    }
    std::optional<std::uint8_t> readByte() override {
        return isOpen() ? ForwardingPort::readByte() : std::nullopt;
    }

private:
    int writesLeft_;
};

// `exchange` on a link whose connection ends after `writes` writes.
Drive withHangUpAfter(int writes, Drive exchange) {
    return [=](sim::SimulatedLink& s) {
        link::RegisterLink::Parts parts;
        parts.port = std::make_unique<HangingUpPort>(s.line, writes);
        parts.clock = s.clock;
        parts.priority = s.priority;
        s.link->ClosePort(1);
        s.link = std::make_unique<link::RegisterLink>(std::move(parts));
        s.link->OpenPort(1, 9600);
        return exchange(s);
    };
}

int readOne(sim::SimulatedLink& s) {
    QByteArray reply;
    return s.link->ReadRecord(1, 2, 1, reply);
}

int writeOne(sim::SimulatedLink& s) {
    return s.link->WriteRecord(1, 3, 5, "12;Op;1;0;");
}

// `exchange` with a fault of the register switched on for good.
Drive withFault(Fault sim::Faults::*fault, Drive exchange) {
    return [=](sim::SimulatedLink& s) {
        s.ecr->faults().*fault = Fault::always();
        return exchange(s);
    };
}

// `exchange` with the answers to frames (ACK, reply line, check bytes) changed.
Drive withFrameAnswers(std::function<QByteArray(QByteArray)> change, Drive exchange) {
    return [=](sim::SimulatedLink& s) {
        s.line->detachAll();
        s.line->attach(std::make_shared<AnswerChanger>(s.ecr, [change](const QByteArray& answer) {
            return answer.startsWith('\x06') ? change(answer) : answer;
        }));
        return exchange(s);
    };
}

Drive onSilentLine(Drive operation) {
    return [=](sim::SimulatedLink& s) {
        s.line->detachAll();
        return operation(s);
    };
}

Drive withPortClosed(Drive operation) {
    return [=](sim::SimulatedLink& s) {
        s.link->ClosePort(1);
        return operation(s);
    };
}

}  // namespace

// Each way an operation can end gives its number and names its cause, even
// right after another operation ended otherwise.
TEST(ResultCauses, EachFailureOfTheLinkNamesItsCause) {
    using F = sim::Faults;
    const Drive reset = [](auto& s) { return s.link->ResetLink(); };
    const Drive detect = [](auto& s) { return s.link->DetectRegister(1); };
    const Drive select = [](auto& s) { return s.link->SelectRegister(); };
    const Drive poll = [](auto& s) { return s.link->PollRegister(); };
    const auto open = [](int port, int speed) -> Drive {
        return [=](auto& s) { return s.link->OpenPort(port, speed); };
    };
    const auto nothing = [](QByteArray) { return QByteArray(); };
    const auto ackOnly = [](QByteArray) { return QByteArray("\x06"); };
    const auto noCheckBytes = [](QByteArray answer) { return answer.chopped(2); };
    const auto lineStartDoubled = [](QByteArray answer) { return answer.insert(1, '\n'); };
    struct Case {
        const char* name;
        Operation operation;
        Drive drive;
        int result;
        ResultCause cause;
    };
    const Case cases[] = {
        {"open", O::OpenPort, open(2, 9600), 1, C::Done},
        {"open port 0", O::OpenPort, open(0, 9600), -1, C::PortNumberOutOfRange},
        {"open at 57600", O::OpenPort, open(1, 57600), -2, C::SpeedNotSupported},
        {"open a busy device", O::OpenPort,
         [](auto& s) {
             s.line->failOpen(QStringLiteral("Device or resource busy"));
             return s.link->OpenPort(1, 9600);
         },
         -3, C::DeviceDidNotOpen},
        {"open with settings refused", O::OpenPort,
         [](auto& s) {
             s.line->failSettings(QStringLiteral("Invalid argument"));
             return s.link->OpenPort(1, 9600);
         },
         -5, C::LineSettingsNotApplied},

        {"close", O::ClosePort, [](auto& s) { return s.link->ClosePort(1); }, 1, C::Done},
        {"close another port", O::ClosePort, [](auto& s) { return s.link->ClosePort(2); }, -1,
         C::NotTheOpenPort},
        {"close a device that refuses", O::ClosePort,
         [](auto& s) {
             link::RegisterLink::Parts parts;
             parts.port = std::make_unique<CloseRefusingPort>(s.line);
             parts.clock = s.clock;
             parts.priority = s.priority;
             s.link->ClosePort(1);
             s.link = std::make_unique<link::RegisterLink>(std::move(parts));
             s.link->OpenPort(1, 9600);
             return s.link->ClosePort(1);
         },
         -1, C::CloseRefused},

        {"select", O::SelectRegister, select, 0, C::Done},
        {"select on a silent line", O::SelectRegister, onSilentLine(select), -1, C::NoAnswer},
        {"poll", O::PollRegister, poll, 0, C::Done},
        {"poll on a silent line", O::PollRegister, onSilentLine(poll), -1, C::NoAnswer},

        {"read", O::ReadRecord, readOne, 29, C::Done},
        {"read from register 0", O::ReadRecord,
         [](auto& s) {
             QByteArray reply;
             return s.link->ReadRecord(0, 2, 1, reply);
         },
         -2, C::RegisterNumberOutOfRange},
        {"read on a silent line", O::ReadRecord, onSilentLine(readOne), -1, C::NoAnswer},
        // Hung up before the select, after the select, after the frame.
        {"read with the server gone at once", O::ReadRecord, withHangUpAfter(1, readOne), -12,
         C::ConnectionLost},
        {"read with the server gone after the select", O::ReadRecord, withHangUpAfter(3, readOne),
         -12, C::ConnectionLost},
        {"write with the server gone after the frame", O::WriteRecord, withHangUpAfter(4, writeOne),
         -12, C::ConnectionLost},
        {"read of a 20-byte command", O::ReadRecord,
         [](auto& s) {
             QByteArray reply;
             return s.link->ReadRecord(1, 123456789, 12345678, reply);
         },
         -12, C::CommandTooLong},
        {"read frame refused", O::ReadRecord, withFault(&F::refuseFrames, readOne), -12,
         C::RefusedFrame},
        {"read frame never answered", O::ReadRecord, withFrameAnswers(nothing, readOne), -12,
         C::AwaitedByteMissing},
        {"read reply without its line", O::ReadRecord, withFrameAnswers(ackOnly, readOne), -12,
         C::AwaitedByteMissing},
        {"read reply cut short", O::ReadRecord, withFault(&F::cutShortLines, readOne), -12,
         C::AwaitedByteMissing},
        {"read reply without check bytes", O::ReadRecord, withFrameAnswers(noCheckBytes, readOne),
         -12, C::AwaitedByteMissing},
        {"read reply over-long", O::ReadRecord, withFault(&F::overLongReplies, readOne), -12,
         C::ReplyTooLong},
        {"read refused with E", O::ReadRecord, withFault(&F::errorReplies, readOne), -15,
         C::RegisterRefused},
        {"read reply with a wrong check byte", O::ReadRecord,
         withFault(&F::wrongCheckBytes, readOne), -1000, C::CheckBytesDiffer},

        {"write", O::WriteRecord, writeOne, 19, C::Done},
        {"write to register 100", O::WriteRecord,
         [](auto& s) { return s.link->WriteRecord(100, 3, 5, "1;"); }, -2,
         C::RegisterNumberOutOfRange},
        {"write on a silent line", O::WriteRecord, onSilentLine(writeOne), -1, C::NoAnswer},
        {"write of a 197-byte command", O::WriteRecord,
         [](auto& s) { return s.link->WriteRecord(1, 0, 1, QByteArray(192, 'x')); }, -12,
         C::CommandTooLong},
        {"write frame refused ten times", O::WriteRecord, withFault(&F::refuseFrames, writeOne),
         -12, C::RefusedFrame},
        {"write frame never answered", O::WriteRecord, withFrameAnswers(nothing, writeOne), -12,
         C::AwaitedByteMissing},
        {"write reply cut short", O::WriteRecord, withFault(&F::cutShortLines, writeOne), -12,
         C::AwaitedByteMissing},
        {"write reply without check bytes", O::WriteRecord,
         withFrameAnswers(noCheckBytes, writeOne), -12, C::AwaitedByteMissing},
        {"write reply over-long", O::WriteRecord, withFault(&F::overLongReplies, writeOne), -12,
         C::ReplyTooLong},
        {"write reply with its line start doubled", O::WriteRecord,
         withFrameAnswers(lineStartDoubled, writeOne), -12, C::DamagedReplyLine},
        {"write refused with E", O::WriteRecord, withFault(&F::errorReplies, writeOne), -15,
         C::RegisterRefused},

        {"read with the port closed", O::ReadRecord, withPortClosed(readOne), -4, C::PortNotOpen},
        {"write with the server gone before it", O::WriteRecord, withHangUpAfter(0, writeOne), -4,
         C::PortNotOpen},

        {"reset", O::ResetLink, reset, 1, C::Done},
        {"reset with the port closed", O::ResetLink, withPortClosed(reset), -1, C::PortNotOpen},
        {"detect", O::DetectRegister, detect, 1, C::Done},
        {"detect with the port closed", O::DetectRegister, withPortClosed(detect), -1,
         C::PortNotOpen},
        {"detect register 0", O::DetectRegister, [](auto& s) { return s.link->DetectRegister(0); },
         -2, C::RegisterNumberOutOfRange},
        {"detect on a silent line", O::DetectRegister, onSilentLine(detect), -3, C::NoAnswer},
    };
    std::set<std::pair<Operation, ResultCause>> reached;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::SimulatedLink s = sim::makeSimulatedLink(sim::Model::Neon);
        ASSERT_EQ(s.link->OpenPort(1, 9600), 1);
        QByteArray unused;
        // The cause of the result before must not linger.
        ASSERT_EQ(s.link->ReadRecord(0, 2, 1, unused), -2);
        EXPECT_EQ(c.drive(s), c.result);
        EXPECT_EQ(s.link->lastCause(), c.cause);
        // A refusal keeps the register's own words; no other end has any.
        EXPECT_EQ(s.link->lastRefusal(),
                  QByteArray(c.cause == C::RegisterRefused ? "E0;" : ""));
        reached.insert({c.operation, c.cause});
    }
    // Every result in the table is reached, but the line settings that cannot
    // be built (the link makes them itself, from a port number and a speed it
    // has checked) and a serial server that stays away (the runs tell it,
    // after waiting for the port).
    for (const link::ResultRow& row : link::kResultRows) {
        for (Operation operation : kEveryOperation) {
            if (!link::contains(row.operations, operation) || row.cause == C::NoLineSettings ||
                row.cause == C::ServerUnreachable)
                continue;
            EXPECT_EQ(reached.count({operation, row.cause}), 1u)
                << int(operation) << ' ' << int(row.cause);
        }
    }
}
