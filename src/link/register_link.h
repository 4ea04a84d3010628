#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>

#include "link/byte_port.h"
#include "link/clock.h"
#include "link/frame.h"
#include "link/priority.h"
#include "link/result_codes.h"

namespace tabulon::link {

// Turns a port number 1..9 (COM1..COM9) into the device to open: the window
// and the command line look it up in the port map (ports/). Without one the
// link opens the COM name itself, which a simulated line takes as it is.
using DeviceResolver = std::function<QString(int port)>;

// The register link: the one open port and the byte protocol of single-record
// exchanges with the registers on it. Every operation returns an integer,
// negative for failure; kResultRows says which number each operation returns
// for which cause, and lastCause() which cause it was. None of them shows
// anything. One exchange at a time, on one thread.
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
        DeviceResolver deviceFor = [](int port) { return QStringLiteral("COM%1").arg(port); };
        std::shared_ptr<Clock> clock = steadyClock();
        std::shared_ptr<PriorityControl> priority = systemPriority();
    };

    explicit RegisterLink(Parts parts);
    ~RegisterLink();
    RegisterLink(const RegisterLink&) = delete;
    RegisterLink& operator=(const RegisterLink&) = delete;

    // 1 opened. A device that did not open, or whose settings did not apply,
    // leaves openErrorText() saying why; after the latter it is closed again.
    int OpenPort(int port, int speed);
    // 1 closed after the release sequence (8, 8) and a drained output. Nothing
    // is sent when `port` is not the open port.
    int ClosePort(int port);

    // The select and poll of the current address; 0 answered.
    int SelectRegister();
    int PollRegister();

    // The reply length with the reply text (without CR) in `reply`; `reply` is
    // only written on success. A register that answers "E" is asked ten times.
    // Neither exchange sends anything on a port that is not open: a bare
    // select sequence to nowhere would pass for a register that is silent.
    int ReadRecord(int registerNumber, int table, int record, QByteArray& reply);
    // The frame length (command text + 4). The data ends at its first NUL; a
    // command text over 196 bytes is refused with nothing sent.
    int WriteRecord(int registerNumber, int table, int record, QByteArrayView data);
    // 1 after the release sequence (8, 8) and a pause of more than 1000 ms;
    // nothing is sent when no port is open.
    int ResetLink();
    // 1 found: the register answered one of 16 polls.
    int DetectRegister(int registerNumber);

    // Why the last of the operations above ended as it did: a number such as
    // -12 stands for several causes.
    ResultCause lastCause() const { return lastCause_; }
    // The register's own words when the last operation ended on its "E"
    // replies ("E1;"): the text of the last one. Empty after any other end.
    QByteArray lastRefusal() const { return refusal_; }

    bool isOpen() const { return openFlag_ == 1; }
    // Open, and its device still there: a serial server that closed the
    // connection leaves the port opened but not open.
    bool lineOpen() const { return openFlag_ == 1 && port_->isOpen(); }
    // A program that closes stops waiting here: polls and select attempts
    // end, and the reset pause is cut short, once `*flag` is true. Nothing
    // else changes; the flag must outlive the link's use of it.
    void stopWaitingWhen(const std::atomic<bool>* flag) { giveUp_ = flag; }
    int openPort() const { return openPort_; }
    // Why the last OpenPort failed, in the system's words where there are some.
    QString openErrorText() const { return openError_; }
    // Why the serial server of the last OpenPort refused it, as a value;
    // nullopt for a local device and for a failure the server did not cause.
    std::optional<NetworkFailure> openServerFailure() const { return openServerFailure_; }
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

    // A result, its cause kept for lastCause().
    int ended(LinkResult result);
    // An exchange's result, told as a lost connection when the port went
    // away under it (a serial server that closed): the retry that follows
    // needs a new connection, not another frame.
    int exchangeEnded(int result);
    int readRecord(int registerNumber, int table, int record, QByteArray& reply);
    int writeRecord(int registerNumber, int table, int record, QByteArrayView data);
    int done(int result);

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
    std::optional<NetworkFailure> openServerFailure_;
    QString openDevice_;
    QByteArray address_ = "01";
    QByteArray status_;
    FrameChecksum checksum_;
    const std::atomic<bool>* giveUp_ = nullptr;
    bool answerOwed_ = false;
    ResultCause lastCause_ = ResultCause::Done;
    QByteArray refusal_;

    bool givingUp() const { return giveUp_ && giveUp_->load(); }
};

}  // namespace tabulon::link
