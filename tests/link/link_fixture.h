#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "link/frame.h"
#include "link/result_codes.h"
#include "sim/simulated_link.h"
#include "wire.h"

namespace tabulon::link {
inline void PrintTo(ResultCause cause, std::ostream* os) {
    *os << "cause " << int(cause);
}
}  // namespace tabulon::link

// The sequences of register 1, as a line trace shows them.
inline const QByteArray kFill11 = wire("FF*11");
inline const QByteArray kSelect01 = wire("FF*10 11 11 30 31 FF*10");
inline const QByteArray kLineAck = wire("FF*3 06 FF*3");
inline const QByteArray kRelease55 = wire("FF*5 13 13 FF*5");
inline const QByteArray kRelease88 = wire("FF*8 13 13 FF*8");
inline const QByteArray kRelease1015 = wire("FF*10 13 13 FF*15");

inline QByteArray framed(const QByteArray& command) {
    return kFill11 + tabulon::link::BuildFrame(command);
}

// A link on an open simulated line with a Neon register on it; the transcript
// starts empty, after the opening.
class LinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(sim.link->OpenPort(1, 9600), 1);
        sim.line->clearTranscript();
    }

    tabulon::link::RegisterLink& link() { return *sim.link; }
    tabulon::sim::Faults& faults() { return sim.ecr->faults(); }
    const QByteArray& sent() const { return sim.line->sent(); }
    std::chrono::milliseconds elapsed() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(sim.clock->now());
    }

    tabulon::sim::SimulatedLink sim = tabulon::sim::makeSimulatedLink(tabulon::sim::Model::Neon);
};

// Hangs between the line and the register and swallows the register's answers
// to frames (ACK or refusal and the reply), keeping its status lines.
class FrameSwallower : public tabulon::sim::LineDevice {
public:
    explicit FrameSwallower(std::shared_ptr<tabulon::sim::LineDevice> inner)
        : inner_(std::move(inner)) {}
    QByteArray receive(QByteArrayView bytes) override {
        const QByteArray answer = inner_->receive(bytes);
        return answer.startsWith('\x06') || answer.startsWith('\x15') ? QByteArray() : answer;
    }

private:
    std::shared_ptr<tabulon::sim::LineDevice> inner_;
};

// Hangs between the line and the register and passes each of its answers
// through `change`, as a bad line would pass them.
class AnswerChanger : public tabulon::sim::LineDevice {
public:
    using Change = std::function<QByteArray(const QByteArray& answer)>;
    AnswerChanger(std::shared_ptr<tabulon::sim::LineDevice> inner, Change change)
        : inner_(std::move(inner)), change_(std::move(change)) {}
    QByteArray receive(QByteArrayView bytes) override {
        const QByteArray answer = inner_->receive(bytes);
        return answer.isEmpty() ? answer : change_(answer);
    }

private:
    std::shared_ptr<tabulon::sim::LineDevice> inner_;
    Change change_;
};
