#include "link/result_codes.h"

#include <QString>
#include <functional>
#include <set>

#include "link_fixture.h"

using namespace tabulon;
using link::Operation;
using link::ResultCause;
using sim::Fault;

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

constexpr Operation kEveryOperation[] = {
    Operation::OpenPort,     Operation::ClosePort,      Operation::SelectRegister,
    Operation::PollRegister, Operation::ReadRecord,     Operation::WriteRecord,
    Operation::ResetLink,    Operation::DetectRegister,
};

// Every cause there is, up to the last of the enum.
std::vector<ResultCause> everyCause() {
    std::vector<ResultCause> causes;
    for (int i = 0; i <= int(ResultCause::CheckBytesDiffer); ++i) causes.push_back(ResultCause(i));
    return causes;
}

}  // namespace

// What the faces print: the window and a fleet report the cause's Russian
// text, tabulon-cli "error N: <meaning of N>". A code shared by several causes
// has one meaning for the number alone.
TEST(ResultTable, EachOperationSaysEachOfItsResultsExactly) {
    const QString exchangeFailed =
        "the register did not take the command, an awaited byte did not come, or a command or "
        "reply was longer than the link takes";
    const QString closeFailed = "that port is not open, or it did not close";
    struct Row {
        Operation operation;
        ResultCause cause;
        int code;
        QString russian;
        QString english;
        QString meaning;  // of the number alone
    };
    using O = Operation;
    using C = ResultCause;
    const Row rows[] = {
        {O::OpenPort, C::Done, 0, "выполнено", "done", "done"},
        {O::OpenPort, C::PortNumberOutOfRange, -1, "номер порта не от 1 до 9",
         "port number outside 1 to 9", "port number outside 1 to 9"},
        {O::OpenPort, C::SpeedNotSupported, -2, "скорость не поддерживается", "speed not supported",
         "speed not supported"},
        {O::OpenPort, C::DeviceDidNotOpen, -3, "порт не открывается",
         "the port could not be opened", "the port could not be opened"},
        {O::OpenPort, C::NoLineSettings, -4, "параметры линии не составлены",
         "the line settings could not be built", "the line settings could not be built"},
        {O::OpenPort, C::LineSettingsNotApplied, -5, "параметры линии не установлены",
         "the line settings could not be applied", "the line settings could not be applied"},

        {O::ClosePort, C::Done, 0, "выполнено", "done", "done"},
        {O::ClosePort, C::NotTheOpenPort, -1, "этот порт не открыт", "that port is not open",
         closeFailed},
        {O::ClosePort, C::CloseRefused, -1, "порт не закрывается", "the port did not close",
         closeFailed},

        {O::SelectRegister, C::Done, 0, "выполнено", "done", "done"},
        {O::SelectRegister, C::NoAnswer, -1, "нет ответа", "no answer from the register",
         "no answer from the register"},
        {O::PollRegister, C::Done, 0, "выполнено", "done", "done"},
        {O::PollRegister, C::NoAnswer, -1, "нет ответа", "no answer from the register",
         "no answer from the register"},

        {O::ReadRecord, C::Done, 0, "выполнено", "done", "done"},
        {O::ReadRecord, C::NoAnswer, -1, "нет ответа",
         "the register did not answer its select sequence",
         "the register did not answer its select sequence"},
        {O::ReadRecord, C::RegisterNumberOutOfRange, -2, "номер ЭККА не от 1 до 99",
         "register number outside 1 to 99", "register number outside 1 to 99"},
        {O::ReadRecord, C::RefusedFrame, -12, "ЭККА не принял команду",
         "the register did not take the command", exchangeFailed},
        {O::ReadRecord, C::AwaitedByteMissing, -12, "ожидаемый байт не пришёл",
         "an awaited byte did not come", exchangeFailed},
        {O::ReadRecord, C::CommandTooLong, -12, "команда длиннее допустимого",
         "the command was longer than the link takes", exchangeFailed},
        {O::ReadRecord, C::ReplyTooLong, -12, "ответ длиннее допустимого",
         "the reply was longer than the link takes", exchangeFailed},
        {O::ReadRecord, C::RegisterRefused, -15, "ЭККА отвечает «E»",
         "the register refused the record (\"E\" reply)",
         "the register refused the record (\"E\" reply)"},
        {O::ReadRecord, C::CheckBytesDiffer, -1000, "контрольные байты не сходятся",
         "check bytes of the reply do not match", "check bytes of the reply do not match"},

        {O::WriteRecord, C::Done, 0, "выполнено", "done", "done"},
        {O::WriteRecord, C::NoAnswer, -1, "нет ответа",
         "the register did not answer its select sequence",
         "the register did not answer its select sequence"},
        {O::WriteRecord, C::RegisterNumberOutOfRange, -2, "номер ЭККА не от 1 до 99",
         "register number outside 1 to 99", "register number outside 1 to 99"},
        {O::WriteRecord, C::RefusedFrame, -12, "ЭККА не принял команду",
         "the register did not take the command", exchangeFailed},
        {O::WriteRecord, C::AwaitedByteMissing, -12, "ожидаемый байт не пришёл",
         "an awaited byte did not come", exchangeFailed},
        {O::WriteRecord, C::CommandTooLong, -12, "команда длиннее допустимого",
         "the command was longer than the link takes", exchangeFailed},
        {O::WriteRecord, C::ReplyTooLong, -12, "ответ длиннее допустимого",
         "the reply was longer than the link takes", exchangeFailed},
        {O::WriteRecord, C::DamagedReplyLine, -12, "ответ повреждён", "the reply line was damaged",
         exchangeFailed},
        {O::WriteRecord, C::RegisterRefused, -15, "ЭККА отвечает «E»",
         "the register refused the record (\"E\" reply)",
         "the register refused the record (\"E\" reply)"},

        {O::ResetLink, C::Done, 0, "выполнено", "done", "done"},
        {O::ResetLink, C::PortNotOpen, -1, "порт не открыт", "the port is not open",
         "the port is not open"},

        {O::DetectRegister, C::Done, 0, "выполнено", "done", "done"},
        {O::DetectRegister, C::PortNotOpen, -1, "порт не открыт", "the port is not open",
         "the port is not open"},
        {O::DetectRegister, C::RegisterNumberOutOfRange, -2, "номер ЭККА не от 1 до 99",
         "register number outside 1 to 99", "register number outside 1 to 99"},
        {O::DetectRegister, C::NoAnswer, -3, "ЭККА с этим номером не отвечает",
         "no register answers with that number", "no register answers with that number"},
    };
    std::set<std::pair<Operation, ResultCause>> listed;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.english.toStdString());
        listed.insert({row.operation, row.cause});
        const link::ResultRow* found = link::resultRow(row.operation, row.cause);
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->code, row.code);
        EXPECT_EQ(link::russianText(row.operation, row.cause), row.russian);
        EXPECT_EQ(link::englishText(row.operation, row.cause), row.english);
        EXPECT_EQ(link::resultMeaning(row.operation, row.code), row.meaning);
    }
    // Nothing in the table beyond these.
    for (Operation operation : kEveryOperation) {
        for (ResultCause cause : everyCause()) {
            EXPECT_EQ(link::resultRow(operation, cause) != nullptr,
                      listed.count({operation, cause}) == 1)
                << int(operation) << ' ' << int(cause);
        }
    }
    EXPECT_EQ(link::resultMeaning(Operation::OpenPort, 1), "done");
    EXPECT_EQ(link::resultMeaning(Operation::ReadRecord, 29), "done");
    EXPECT_EQ(link::resultMeaning(Operation::ReadRecord, -3), "unknown result");
    EXPECT_EQ(link::resultMeaning(Operation::ResetLink, -12), "unknown result");
    EXPECT_EQ(link::russianText(Operation::OpenPort, ResultCause::CheckBytesDiffer),
              "unknown result");
}

namespace {

// A port whose device refuses to close, as a pulled USB adapter may.
class CloseRefusingPort : public link::BytePort {
public:
    explicit CloseRefusingPort(std::shared_ptr<sim::SimulatedLine> line) : inner_(line) {}
    bool open(const QString& device) override { return inner_.open(device); }
    bool apply(const link::LineSettings& settings) override { return inner_.apply(settings); }
    bool isOpen() const override { return inner_.isOpen(); }
    void write(QByteArrayView bytes) override { inner_.write(bytes); }
    std::optional<std::uint8_t> readByte() override { return inner_.readByte(); }
    void drain() override { inner_.drain(); }
    void discardInput() override { inner_.discardInput(); }
    bool close() override {
        inner_.close();
        return false;
    }
    QString errorString() const override { return inner_.errorString(); }

private:
    sim::SimulatedPort inner_;
};

// Frame answers (ACK, the reply line, its check bytes) passed through `change`.
void changeFrameAnswers(sim::SimulatedLink& s, std::function<QByteArray(QByteArray)> change) {
    s.line->detachAll();
    s.line->attach(std::make_shared<AnswerChanger>(s.ecr, [change](const QByteArray& answer) {
        return answer.startsWith('\x06') ? change(answer) : answer;
    }));
}

}  // namespace

// Each way an operation can end gives its number and names its cause, even
// right after another operation ended otherwise.
TEST(ResultCauses, EachFailureOfTheLinkNamesItsCause) {
    using O = Operation;
    using C = ResultCause;
    using Drive = std::function<int(sim::SimulatedLink&)>;
    const QByteArray record = "12;Op;1;0;";
    const auto read = [](sim::SimulatedLink& s) {
        QByteArray reply;
        return s.link->ReadRecord(1, 2, 1, reply);
    };
    const auto write = [record](sim::SimulatedLink& s) {
        return s.link->WriteRecord(1, 3, 5, record);
    };
    struct Case {
        const char* name;
        Operation operation;
        Drive drive;
        int result;
        ResultCause cause;
    };
    const Case cases[] = {
        {"open", O::OpenPort, [](auto& s) { return s.link->OpenPort(2, 9600); }, 1, C::Done},
        {"open port 0", O::OpenPort, [](auto& s) { return s.link->OpenPort(0, 9600); }, -1,
         C::PortNumberOutOfRange},
        {"open at 57600", O::OpenPort, [](auto& s) { return s.link->OpenPort(1, 57600); }, -2,
         C::SpeedNotSupported},
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

        {"select", O::SelectRegister, [](auto& s) { return s.link->SelectRegister(); }, 0, C::Done},
        {"select on a silent line", O::SelectRegister,
         [](auto& s) {
             s.line->detachAll();
             return s.link->SelectRegister();
         },
         -1, C::NoAnswer},
        {"poll", O::PollRegister, [](auto& s) { return s.link->PollRegister(); }, 0, C::Done},
        {"poll on a silent line", O::PollRegister,
         [](auto& s) {
             s.line->detachAll();
             return s.link->PollRegister();
         },
         -1, C::NoAnswer},

        {"read", O::ReadRecord, read, 29, C::Done},
        {"read from register 0", O::ReadRecord,
         [](auto& s) {
             QByteArray reply;
             return s.link->ReadRecord(0, 2, 1, reply);
         },
         -2, C::RegisterNumberOutOfRange},
        {"read on a silent line", O::ReadRecord,
         [read](auto& s) {
             s.line->detachAll();
             return read(s);
         },
         -1, C::NoAnswer},
        {"read of a 20-byte command", O::ReadRecord,
         [](auto& s) {
             QByteArray reply;
             return s.link->ReadRecord(1, 123456789, 12345678, reply);
         },
         -12, C::CommandTooLong},
        {"read frame refused", O::ReadRecord,
         [read](auto& s) {
             s.ecr->faults().refuseFrames = Fault::always();
             return read(s);
         },
         -12, C::RefusedFrame},
        {"read frame never answered", O::ReadRecord,
         [read](auto& s) {
             changeFrameAnswers(s, [](QByteArray) { return QByteArray(); });
             return read(s);
         },
         -12, C::AwaitedByteMissing},
        {"read reply without its line", O::ReadRecord,
         [read](auto& s) {
             changeFrameAnswers(s, [](QByteArray) { return QByteArray("\x06"); });
             return read(s);
         },
         -12, C::AwaitedByteMissing},
        {"read reply cut short", O::ReadRecord,
         [read](auto& s) {
             s.ecr->faults().cutShortLines = Fault::always();
             return read(s);
         },
         -12, C::AwaitedByteMissing},
        {"read reply without check bytes", O::ReadRecord,
         [read](auto& s) {
             changeFrameAnswers(s, [](QByteArray answer) { return answer.chopped(2); });
             return read(s);
         },
         -12, C::AwaitedByteMissing},
        {"read reply over-long", O::ReadRecord,
         [read](auto& s) {
             s.ecr->faults().overLongReplies = Fault::always();
             return read(s);
         },
         -12, C::ReplyTooLong},
        {"read refused with E", O::ReadRecord,
         [read](auto& s) {
             s.ecr->faults().errorReplies = Fault::always();
             return read(s);
         },
         -15, C::RegisterRefused},
        {"read reply with a wrong check byte", O::ReadRecord,
         [read](auto& s) {
             s.ecr->faults().wrongCheckBytes = Fault::always();
             return read(s);
         },
         -1000, C::CheckBytesDiffer},

        {"write", O::WriteRecord, write, 19, C::Done},
        {"write to register 100", O::WriteRecord,
         [record](auto& s) { return s.link->WriteRecord(100, 3, 5, record); }, -2,
         C::RegisterNumberOutOfRange},
        {"write on a silent line", O::WriteRecord,
         [write](auto& s) {
             s.line->detachAll();
             return write(s);
         },
         -1, C::NoAnswer},
        {"write of a 197-byte command", O::WriteRecord,
         [](auto& s) { return s.link->WriteRecord(1, 0, 1, QByteArray(192, 'x')); }, -12,
         C::CommandTooLong},
        {"write frame refused ten times", O::WriteRecord,
         [write](auto& s) {
             s.ecr->faults().refuseFrames = Fault::always();
             return write(s);
         },
         -12, C::RefusedFrame},
        {"write frame never answered", O::WriteRecord,
         [write](auto& s) {
             changeFrameAnswers(s, [](QByteArray) { return QByteArray(); });
             return write(s);
         },
         -12, C::AwaitedByteMissing},
        {"write reply cut short", O::WriteRecord,
         [write](auto& s) {
             s.ecr->faults().cutShortLines = Fault::always();
             return write(s);
         },
         -12, C::AwaitedByteMissing},
        {"write reply without check bytes", O::WriteRecord,
         [write](auto& s) {
             changeFrameAnswers(s, [](QByteArray answer) { return answer.chopped(2); });
             return write(s);
         },
         -12, C::AwaitedByteMissing},
        {"write reply over-long", O::WriteRecord,
         [write](auto& s) {
             s.ecr->faults().overLongReplies = Fault::always();
             return write(s);
         },
         -12, C::ReplyTooLong},
        {"write reply with its line start doubled", O::WriteRecord,
         [write](auto& s) {
             changeFrameAnswers(s, [](QByteArray answer) { return answer.insert(1, '\n'); });
             return write(s);
         },
         -12, C::DamagedReplyLine},
        {"write refused with E", O::WriteRecord,
         [write](auto& s) {
             s.ecr->faults().errorReplies = Fault::always();
             return write(s);
         },
         -15, C::RegisterRefused},

        {"reset", O::ResetLink, [](auto& s) { return s.link->ResetLink(); }, 1, C::Done},
        {"reset with the port closed", O::ResetLink,
         [](auto& s) {
             s.link->ClosePort(1);
             return s.link->ResetLink();
         },
         -1, C::PortNotOpen},

        {"detect", O::DetectRegister, [](auto& s) { return s.link->DetectRegister(1); }, 1,
         C::Done},
        {"detect with the port closed", O::DetectRegister,
         [](auto& s) {
             s.link->ClosePort(1);
             return s.link->DetectRegister(1);
         },
         -1, C::PortNotOpen},
        {"detect register 0", O::DetectRegister, [](auto& s) { return s.link->DetectRegister(0); },
         -2, C::RegisterNumberOutOfRange},
        {"detect on a silent line", O::DetectRegister,
         [](auto& s) {
             s.line->detachAll();
             return s.link->DetectRegister(1);
         },
         -3, C::NoAnswer},
    };
    std::set<std::pair<Operation, ResultCause>> reached;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::SimulatedLink s = sim::makeSimulatedLink(sim::Model::Neon);
        ASSERT_EQ(s.link->OpenPort(1, 9600), 1);
        QByteArray unused;
        // The cause of the result before must not linger.
        ASSERT_EQ(s.link->ReadRecord(0, 2, 1, unused), -2);
        const int result = c.drive(s);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(s.link->lastCause(), c.cause);
        reached.insert({c.operation, c.cause});
    }
    // Every result in the table is reached, but the line settings that cannot
    // be built: the link makes them itself, from a port number and a speed it
    // has checked.
    for (const link::ResultRow& row : link::kResultRows) {
        for (Operation operation : kEveryOperation) {
            if (!link::contains(row.operations, operation)) continue;
            if (row.cause == C::NoLineSettings) continue;
            EXPECT_EQ(reached.count({operation, row.cause}), 1u)
                << int(operation) << ' ' << int(row.cause);
        }
    }
}
