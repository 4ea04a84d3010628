#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <atomic>
#include <memory>

#include "link/byte_port.h"
#include "link/clock.h"
#include "link/device_names.h"
#include "link/frame.h"
#include "link/priority.h"

namespace tabulon::link {

// The register link: the one open port and the byte protocol of single-record
// exchanges with the registers on it. Every operation returns an integer,
// negative for failure (resultMeaning() says what each one means); none of them
// shows anything. One exchange at a time, on one thread.
class RegisterLink {
public:
    // Limits that bound what the operations accept.
    static constexpr int kMaxReadCommand = 19;
    static constexpr int kMaxWriteCommand = 196;  // its frame fits 200 bytes
    // Register lines, before the CR: status lines, write replies and read
    // replies alike. A read reply may be longer than the 99 bytes older
    // programs allowed: a dense logo row ("136;1;" and 24 times "255;") is
    // 102. Anything longer is refused, never stored past its buffer.
    static constexpr int kMaxLineText = 243;

    struct Parts {
        std::unique_ptr<BytePort> port;
        DeviceResolver deviceFor = defaultDevice;
        std::shared_ptr<Clock> clock = steadyClock();
        std::shared_ptr<PriorityControl> priority = systemPriority();
    };

    explicit RegisterLink(Parts parts);
    ~RegisterLink();
    RegisterLink(const RegisterLink&) = delete;
    RegisterLink& operator=(const RegisterLink&) = delete;

    // 1 opened; -1 port outside 1..9; -2 speed not accepted; -3 the device did
    // not open (openErrorText() says why); -4 no line settings from the mode
    // text; -5 the settings did not apply (the device is closed again).
    int OpenPort(int port, int speed);
    // 1 closed after the release sequence (8, 8) and a drained output; -1 when
    // `port` is not the open port (nothing sent) or the system refused to close.
    int ClosePort(int port);

    // The select and poll of the current address; 0 answered, -1 no answer.
    int SelectRegister();
    int PollRegister();

    // The reply length with the reply text (without CR) in `reply`, or -1 no
    // register, -2 bad register number, -12 refused frame / missing byte /
    // over-long reply, -15 ten "E" replies, -1000 check bytes do not match.
    // `reply` is only written on success.
    int ReadRecord(int registerNumber, int table, int record, QByteArray& reply);
    // The frame length (command text + 4), or -1, -2, -12 (also for a command
    // text over 196 bytes, nothing sent, and for a reply line that does not
    // start with its LF or holds a second one), -15. The data ends at its
    // first NUL.
    int WriteRecord(int registerNumber, int table, int record, QByteArrayView data);
    // 1 after the release sequence (8, 8) and a pause of more than 1000 ms; -1
    // when no port is open (nothing sent).
    int ResetLink();
    // 1 found; -1 port not open; -2 bad number; -3 no answer to 16 polls.
    int DetectRegister(int registerNumber);

    bool isOpen() const { return openFlag_ == 1; }
    // A program that closes stops waiting here: polls and select attempts
    // end, and the reset pause is cut short, once `*flag` is true. Nothing
    // else changes; the flag must outlive the link's use of it.
    void stopWaitingWhen(const std::atomic<bool>* flag) { giveUp_ = flag; }
    int openPort() const { return openPort_; }
    // Why the last OpenPort failed, in the system's words where there are some.
    QString openErrorText() const { return openError_; }
    // The device the last OpenPort (past its checks of number and speed)
    // tried to open: what a failure names to the user.
    QString openDevice() const { return openDevice_; }
    // The last status line or write reply, text only, fill bytes left out.
    QByteArray statusText() const { return status_; }
    QByteArray address() const { return address_; }
    // The clock of the reset pause; the runs pause on it too.
    Clock& clock() const { return *clock_; }

private:
    enum class LineEnd { Complete, Missing, TooLong };

    void send(QByteArrayView bytes) { port_->write(bytes); }
    void setAddress(int registerNumber);
    bool readStatusLine();
    LineEnd readLineText(QByteArray& text, bool keepFill, FrameChecksum* checksum);
    void skipRestOfLine();
    // An exchange that gave up on the answer to its frame leaves the register
    // possibly still answering; `answerOwed_` notes it, and the next select first
    // reads the line until it stays quiet for a read time-out.
    void frameAnswerOwed(std::optional<std::uint8_t> firstByte);
    void waitOutOwedAnswer();
    bool readCheckBytes(FrameChecksum* checksum);
    void pause();

    std::unique_ptr<BytePort> port_;
    DeviceResolver deviceFor_;
    std::shared_ptr<Clock> clock_;
    std::shared_ptr<PriorityControl> priority_;

    int openFlag_ = -1;
    int openPort_ = -1;
    QString openError_;
    QString openDevice_;
    QByteArray address_ = "01";
    QByteArray status_;
    FrameChecksum checksum_;
    const std::atomic<bool>* giveUp_ = nullptr;
    bool answerOwed_ = false;

    bool givingUp() const { return giveUp_ && giveUp_->load(); }
};

}  // namespace tabulon::link
