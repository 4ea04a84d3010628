// The register link against whatever the register's side sends: status lines,
// acknowledgements and replies come from the fuzzer's bytes, and a byte that
// does not come costs the read time-out in virtual time. The first byte picks
// up to four operations. Whatever arrives, each operation ends within a time
// that its time-outs bound, returns one of its results, restores the
// priority, puts nothing on the line but its own sequences and frames, and
// hands out only a reply that arrived intact.
#include <chrono>
#include <memory>

#include "fuzz_check.h"
#include "link/line_bytes.h"
#include "link/register_link.h"

using namespace tabulon;
using namespace tabulon::link;
using namespace std::chrono_literals;

namespace {

// 0xFE 0xFE is a 0xFE that arrives; 0xFE and any other byte is a read that
// times out. After the last byte the line is silent.
constexpr std::uint8_t kEscape = 0xFE;

class FuzzPort final : public BytePort {
public:
    FuzzPort(QByteArrayView stream, VirtualClock& clock) : stream_(stream), clock_(clock) {}

    bool open(const QString&) override { return open_ = true; }
    bool apply(const LineSettings&) override { return true; }
    bool isOpen() const override { return open_; }
    void write(QByteArrayView bytes) override {
        sent_ += bytes;
        // Where the answer to the last frame, and to the last select or
        // poll sequence, begins.
        if (bytes.contains(char(kLineStart))) servedAtFrame_ = served_.size();
        if (bytes.contains(char(kSelect))) servedAtSelect_ = served_.size();
    }
    std::optional<std::uint8_t> readByte() override {
        for (;;) {
            if (at_ >= stream_.size()) return timeout();
            const std::uint8_t byte = std::uint8_t(stream_[at_++]);
            if (byte != kEscape) return served(byte);
            if (at_ >= stream_.size()) return timeout();
            if (std::uint8_t(stream_[at_++]) == kEscape) return served(kEscape);
            return timeout();
        }
    }
    void drain() override {}
    void discardInput() override {}
    bool close() override {
        open_ = false;
        return true;
    }
    QString errorString() const override { return {}; }

    // What came since the last frame, and since the last select or poll.
    QByteArray sinceFrame() const { return served_.sliced(servedAtFrame_); }
    QByteArray sinceSelect() const { return served_.sliced(servedAtSelect_); }
    void startOperation() {
        sent_.clear();
        served_.clear();
        timeouts_ = 0;
        servedAtFrame_ = servedAtSelect_ = 0;
    }

    QByteArray sent_;
    QByteArray served_;
    int timeouts_ = 0;

private:
    std::optional<std::uint8_t> timeout() {
        ++timeouts_;
        clock_.advance(300ms);
        return std::nullopt;
    }
    std::optional<std::uint8_t> served(std::uint8_t byte) {
        served_ += char(byte);
        return byte;
    }

    QByteArrayView stream_;
    VirtualClock& clock_;
    qsizetype at_ = 0;
    bool open_ = false;
    qsizetype servedAtFrame_ = 0;
    qsizetype servedAtSelect_ = 0;
};

// Time-outs an operation can meet. A byte that does not come ends what was
// waiting for it: a select or poll attempt (five selects, sixteen polls), or
// the exchange after a select. Only an "E" reply or a refused frame starts
// the exchange again, ten times at most.
constexpr int kSelectTimeouts = 5;
constexpr int kExchangeTimeouts = 10 * (kSelectTimeouts + 1);
constexpr int kDetectTimeouts = 16;

const QByteArray kRecord = "1;Tovar1;0.00;0.000;1;1;1;1;0;0;";

// A whole line as the register sends it: its first byte, a text without CR,
// CR and two check bytes, and nothing after. Returns the text.
std::optional<QByteArray> wholeLine(const QByteArray& bytes) {
    if (bytes.size() < 4 || bytes[bytes.size() - 3] != char(kLineEnd)) return std::nullopt;
    const QByteArray text = bytes.sliced(1, bytes.size() - 4);
    if (text.contains(char(kLineEnd))) return std::nullopt;
    return text;
}

QByteArray withoutFill(QByteArray text) {
    return text.replace(char(kFill), QByteArrayView());
}

// What the computer sent during one operation: fill, select, release and
// acknowledgement bytes, address digits, and whole frames of its command.
void checkSent(const QByteArray& sent, const QByteArray& command) {
    const QByteArray frame = BuildFrame(command);
    for (qsizetype i = 0; i < sent.size();) {
        const std::uint8_t byte = std::uint8_t(sent[i]);
        if (byte == kLineStart) {
            FUZZ_CHECK(!command.isEmpty());
            FUZZ_CHECK(sent.sliced(i).startsWith(frame));
            i += frame.size();
            continue;
        }
        FUZZ_CHECK(byte == kFill || byte == kSelect || byte == kRelease || byte == kAck ||
                   (byte >= '0' && byte <= '9'));
        ++i;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Choices choices(data, size);
    const std::uint8_t plan = choices.next();
    const std::uint8_t registerNumber = 1 + choices.next() % 99;

    auto clock = std::make_shared<VirtualClock>();
    auto priority = std::make_shared<CountingPriority>();
    auto owned = std::make_unique<FuzzPort>(
        QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)), *clock);
    FuzzPort& port = *owned;
    RegisterLink::Parts parts;
    parts.port = std::move(owned);
    parts.clock = clock;
    parts.priority = priority;
    parts.deviceFor = [](int) { return QStringLiteral("fuzz"); };
    RegisterLink link(std::move(parts));
    FUZZ_CHECK(link.OpenPort(1, 4800) == 1);

    const int operations = 1 + plan % 4;
    for (int i = 0; i < operations; ++i) {
        const int kind = (plan >> (2 + 2 * (i % 3))) & 3;
        port.startOperation();
        const auto start = clock->now();
        QByteArray command;
        int timeoutBound = kExchangeTimeouts;
        std::chrono::nanoseconds pauses{0};

        if (kind == 0 || kind == 3) {
            const int table = kind == 0 ? 2 : 136;
            command = "R" + QByteArray::number(table) + ";7;";
            QByteArray reply = "untouched";
            const int result = link.ReadRecord(registerNumber, table, 7, reply);
            FUZZ_CHECK(result >= 0 || result == -1 || result == -12 || result == -15 ||
                       result == -1000);
            if (result >= 0) {
                FUZZ_CHECK(reply.size() == result);
                FUZZ_CHECK(result <= RegisterLink::kMaxLineText);
                FUZZ_CHECK(!reply.startsWith(kErrorMark));
                // Only the answer to the last frame is handed out: ACK, then a
                // line whose check bytes match.
                const QByteArray answer = port.sinceFrame();
                FUZZ_CHECK(answer.startsWith(char(kAck)));
                FUZZ_CHECK(wholeLine(answer.sliced(1)) == reply);
                FUZZ_CHECK(answer.endsWith(BuildFrame(reply).sliced(1)));
            } else {
                FUZZ_CHECK(reply == "untouched");
            }
        } else if (kind == 1) {
            command = "W0;7;" + kRecord;
            const int result = link.WriteRecord(registerNumber, 0, 7, kRecord);
            FUZZ_CHECK(result == command.size() + 4 || result == -1 || result == -12 ||
                       result == -15);
            FUZZ_CHECK(link.statusText().size() <= RegisterLink::kMaxLineText);
            if (result >= 0) {
                // Done only on ACK and a whole reply line after the last frame,
                // led by LF and without an "E" to begin with.
                const QByteArray answer = port.sinceFrame();
                FUZZ_CHECK(answer.startsWith(char(kAck)));
                FUZZ_CHECK(answer.size() > 1 && answer[1] == char(kLineStart));
                const std::optional<QByteArray> text = wholeLine(answer.sliced(1));
                FUZZ_CHECK(text && !text->contains(char(kLineStart)));
                FUZZ_CHECK(withoutFill(*text) == link.statusText());
                FUZZ_CHECK(!link.statusText().startsWith(kErrorMark));
            }
        } else {
            const int result = link.DetectRegister(registerNumber);
            FUZZ_CHECK(result == 1 || result == -3);
            // Found only on a whole status line, led by LF, after the last poll.
            if (result == 1) {
                const QByteArray answer = port.sinceSelect();
                FUZZ_CHECK(answer.startsWith(char(kLineStart)) && wholeLine(answer));
            }
            timeoutBound = kDetectTimeouts;
            pauses = 2 * 1001ms;
        }
        FUZZ_CHECK(priority->level() == 0 && priority->balanced());
        FUZZ_CHECK(port.timeouts_ <= timeoutBound);
        FUZZ_CHECK(clock->now() - start <= port.timeouts_ * 300ms + pauses);
        FUZZ_CHECK(link.address() == registerAddress(registerNumber));
        checkSent(port.sent_, command);
    }
    return 0;
}
