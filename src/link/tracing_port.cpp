#include "link/tracing_port.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include "link/line_bytes.h"
#include "text/cp1251.h"

namespace tabulon::link {

namespace {

const char* controlName(std::uint8_t byte) {
    switch (byte) {
        case 0x00:
            return "NUL";
        case kAck:
            return "ACK";
        case kNak:
            return "NAK";
        case kLineStart:
            return "LF";
        case kLineEnd:
            return "CR";
        case kSelect:
            return "DC1";
        case kRelease:
            return "DC3";
        default:
            return nullptr;
    }
}

QString hexByte(std::uint8_t byte) {
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

QString hexBytes(QByteArrayView bytes) {
    QString hex;
    hex.reserve(bytes.size() * 3);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i > 0) hex += u' ';
        hex += hexByte(std::uint8_t(bytes[i]));
    }
    return hex;
}

QString readableBytes(QByteArrayView bytes) {
    QString text;
    for (qsizetype i = 0; i < bytes.size();) {
        const auto byte = std::uint8_t(bytes[i]);
        if (byte == kFill) {
            qsizetype run = 1;
            while (i + run < bytes.size() && std::uint8_t(bytes[i + run]) == kFill) ++run;
            text += run == 1 ? QStringLiteral("<FF>") : QStringLiteral("<FF×%1>").arg(run);
            i += run;
            continue;
        }
        if (const char* name = controlName(byte)) {
            text += u'<' + QLatin1String(name) + u'>';
        } else if ((byte >= 0x20 && byte < 0x7F) || (byte >= 0x80 && byte != 0x98)) {
            text += text::fromCp1251(bytes.sliced(i, 1));
        } else {
            text += u'<' + hexByte(byte) + u'>';
        }
        ++i;
    }
    return text;
}

TracingPort::TracingPort(std::unique_ptr<BytePort> port, std::unique_ptr<QIODevice> trace,
                         std::shared_ptr<Clock> clock)
    : port_(std::move(port)),
      trace_(std::move(trace)),
      clock_(std::move(clock)),
      start_(clock_->now()) {
    port_->tapWire(&wire_);
    trace_->write(QStringLiteral("# trace begun %1; times in ms from then\n")
                      .arg(QDateTime::currentDateTime().toString(Qt::ISODateWithMs))
                      .toUtf8());
}

TracingPort::~TracingPort() {
    port_->tapWire(nullptr);
    flushReceived();
}

std::unique_ptr<TracingPort> TracingPort::appendingTo(std::unique_ptr<BytePort> port,
                                                      const QString& path, QString& error,
                                                      std::shared_ptr<Clock> clock) {
    auto file = std::make_unique<QFile>(path);
    // A device or a pipe has no end to append at: asked to, Qt seeks it and
    // warns on standard error.
    const QIODevice::OpenMode mode =
        QFileInfo(path).isFile() ? QIODevice::WriteOnly | QIODevice::Append : QIODevice::WriteOnly;
    if (!file->open(mode)) {
        error = file->errorString();
        return nullptr;
    }
    return std::make_unique<TracingPort>(std::move(port), std::move(file), std::move(clock));
}

bool traceInto(RegisterLink::Parts& parts, const QString& path, QString& error,
               std::function<void(const QString&)> cut) {
    std::unique_ptr<TracingPort> traced =
        TracingPort::appendingTo(std::move(parts.port), path, error, parts.clock);
    if (!traced) return false;
    traced->whenCut(std::move(cut));
    parts.port = std::move(traced);
    return true;
}

void TracingPort::line(Clock::Duration at, const QString& text) {
    if (cut_) return;
    const double ms = std::chrono::duration<double, std::milli>(at - start_).count();
    const QByteArray bytes = QStringLiteral("%1 %2\n").arg(ms, 10, 'f', 3).arg(text).toUtf8();
    bool whole = trace_->write(bytes) == bytes.size();
    // A trace is read after something went wrong, the program's end
    // included: each step is on disk before the next one starts.
    if (auto* file = qobject_cast<QFileDevice*>(trace_.get())) whole = file->flush() && whole;
    if (whole) return;
    cut_ = true;
    if (cutTold_) cutTold_(trace_->errorString());
}

void TracingPort::flushReceived() {
    if (received_.isEmpty()) return;
    line(receivedAt_,
         QStringLiteral("<-  %1  %2").arg(hexBytes(received_), readableBytes(received_)));
    received_.clear();
}

bool TracingPort::open(const QString& device) {
    const bool opened = port_->open(device);
    line(clock_->now(),
         opened ? QStringLiteral("open %1").arg(device)
                : QStringLiteral("open %1 failed: %2").arg(device, port_->errorString()));
    return opened;
}

bool TracingPort::apply(const LineSettings& settings) {
    const bool applied = port_->apply(settings);
    QString text = QStringLiteral("line %1 baud, %2%3%4, DTR %5")
                       .arg(settings.baudRate)
                       .arg(settings.dataBits)
                       .arg(QChar::fromLatin1(settings.parity))
                       .arg(settings.stopBits)
                       .arg(settings.dataTerminalReady ? u"on" : u"off");
    if (!applied) text += QStringLiteral(" failed: %1").arg(port_->errorString());
    line(clock_->now(), text);
    return applied;
}

void TracingPort::traceSent(QByteArrayView bytes) {
    flushReceived();
    line(clock_->now(), QStringLiteral("->  %1  %2").arg(hexBytes(bytes), readableBytes(bytes)));
}

void TracingPort::traceReceived(QByteArrayView bytes) {
    if (received_.isEmpty()) receivedAt_ = clock_->now();
    received_.append(bytes);
}

void TracingPort::write(QByteArrayView bytes) {
    if (!port_->isOpen()) {
        flushReceived();
        line(clock_->now(), QStringLiteral("--  %1  %2  (not sent: the port is not open)")
                                .arg(hexBytes(bytes), readableBytes(bytes)));
        return;
    }
    if (!port_->reportsWire()) traceSent(bytes);
    port_->write(bytes);
}

std::optional<std::uint8_t> TracingPort::readByte() {
    const std::optional<std::uint8_t> byte = port_->readByte();
    if (byte) {
        if (!port_->reportsWire()) traceReceived(QByteArrayView(&*byte, 1));
    } else {
        flushReceived();
        line(clock_->now(), QStringLiteral("<-  (no byte within the read time-out)"));
    }
    return byte;
}

bool TracingPort::close() {
    flushReceived();
    const bool closed = port_->close();
    line(clock_->now(), closed ? QStringLiteral("close") : QStringLiteral("close failed"));
    return closed;
}

}  // namespace tabulon::link
