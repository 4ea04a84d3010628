#include "sim/sim_options.h"

#include <array>

#include "link/line_bytes.h"
#include "options/command_line.h"

namespace tabulon::sim {

namespace {

struct FaultSwitch {
    const char16_t* name;
    Fault Faults::*fault;
    const char* help;
};

constexpr std::array<FaultSwitch, 10> kFaultSwitches{{
    {u"--silent", &Faults::silent, "answer nothing at all"},
    {u"--refuse-frames", &Faults::refuseFrames, "refuse every frame (NAK instead of ACK)"},
    {u"--error-replies", &Faults::errorReplies, "reply \"E0;\" to every command"},
    {u"--wrong-check-bytes", &Faults::wrongCheckBytes, "send reply lines with a wrong check byte"},
    {u"--cut-short-lines", &Faults::cutShortLines, "stop reply lines halfway, without CR"},
    {u"--fill-inside-lines", &Faults::fillInsideLines,
     "put 0xFF bytes inside status and reply lines"},
    {u"--over-long-replies", &Faults::overLongReplies, "send reply texts of 300 bytes"},
    {u"--late-replies", &Faults::lateReplies,
     "send the reply line only after the computer's 300 ms wait for it"},
    {u"--alter-stored", &Faults::alterStored,
     "keep written records with a \"#\" for their first character"},
    {u"--refuse-connections", &Faults::refuseConnections,
     "on --listen, close each connection as soon as it comes"},
}};

std::optional<int> positive(const QString& written) {
    const std::optional<int> value = options::number(written);
    return value && *value > 0 ? value : std::nullopt;
}

const FaultSwitch* faultSwitch(QStringView name) {
    for (const FaultSwitch& fault : kFaultSwitches)
        if (name == QStringView(fault.name)) return &fault;
    return nullptr;
}

using options::CommandLine;
using options::Mistake;

QList<options::Option> knownOptions() {
    using options::Takes;
    QList<options::Option> known{
        {u"help", Takes::Nothing}, {u"h", Takes::Nothing},    {u"version", Takes::Nothing},
        {u"log", Takes::Nothing},  {u"model", Takes::Value},  {u"register", Takes::Value},
        {u"bus", Takes::Value},    {u"device", Takes::Value}, {u"pace", Takes::Value},
        {u"chaos", Takes::Value},  {u"speed", Takes::Value},  {u"listen", Takes::Value},
        {u"count", Takes::Value},
    };
    for (const FaultSwitch& fault : kFaultSwitches)
        known << options::Option{QStringView(fault.name).mid(2), Takes::CountOrNothing};
    return known;
}

}  // namespace

QString simUsage() {
    QString usage = QStringLiteral(
        "Usage: tabulon-sim [--model MODEL] [--register N | --bus N,N...] [--device PATH]\n"
        "                   [--listen ADDRESS... [--count N]] [--speed N] [--pace N]\n"
        "                   [--chaos SEED] [--log] [FAULT[=COUNT]...]\n"
        "A simulated cash register on a serial line. Without --device or --listen it\n"
        "opens a pseudo-terminal, prints its path on one line and serves until killed.\n"
        "\n"
        "  --model MODEL    mp-550t, mp-50-junior or neon (default neon)\n"
        "  --register N     answer only to register number N (default: every number)\n"
        "  --bus N,N...     several registers on the line, one for each number, each\n"
        "                   with its own tables; the faults go for all of them\n"
        "  --device PATH    serve on this serial device instead of a pseudo-terminal\n"
        "  --listen ADDRESS serve a TCP port instead, as a serial server does:\n"
        "                   tcp://HOST:PORT (raw bytes) or rfc2217://HOST:PORT (Telnet\n"
        "                   with the COM-PORT option); port 0 takes a free one. Each\n"
        "                   --listen is a line of its own, with its own register (or\n"
        "                   bus) and tables; one client at a time. Prints the address\n"
        "                   of each line on a line of its own\n"
        "  --count N        with one --listen: N lines, on N free ports from port 0,\n"
        "                   else on PORT to PORT+N-1\n"
        "  --speed N        ignore the line unless it is set to N baud (on rfc2217://,\n"
        "                   through the COM-PORT option; a tcp:// line counts as set)\n"
        "  --pace N         take in and send out bytes no faster than N baud carry\n"
        "                   them (11 bits a byte), as a real line would\n"
        "  --chaos SEED     a bad line from SEED (a whole number): garbled, lost,\n"
        "                   doubled and stray bytes, pauses, late answers, silences\n"
        "                   in the middle of a line; the same seed, the same faults\n"
        "  --log            tell on standard error what comes and goes\n"
        "  --help           show this text\n"
        "  --version        show the version\n"
        "\n"
        "Faults (each for good, or with =COUNT for the next COUNT occasions only):\n");
    for (const FaultSwitch& fault : kFaultSwitches) {
        usage += QStringLiteral("  %1%2\n")
                     .arg(QStringView(fault.name).toString(), -21)
                     .arg(QString::fromLatin1(fault.help));
    }
    return usage;
}

ParsedSimOptions parseSimOptions(const QStringList& arguments) {
    SimOptions options;
    int count = 0;
    const auto fail = [](const QString& error) { return ParsedSimOptions{std::nullopt, error}; };
    static const QList<options::Option> known = knownOptions();
    CommandLine line(known, false);
    const QList<Mistake> mistakes = line.read(arguments);
    // As the program always has: --version wherever the word stands; --help
    // once the options are read without a mistake.
    options.version = arguments.contains(QStringLiteral("--version"));
    if (options.version) return ParsedSimOptions{options, QString()};
    options.help = line.isSet(u"help") || line.isSet(u"h");
    for (const Mistake& mistake : mistakes) {
        // An option missing its value at the end is refused below, in its own words.
        if (mistake.kind == Mistake::Kind::UnknownOption)
            return fail(QStringLiteral("unknown option: %1").arg(mistake.option));
        if (mistake.kind == Mistake::Kind::TakesNoValue) return fail(mistake.text());
    }
    if (!line.words().isEmpty())
        return fail(QStringLiteral("unknown option: %1").arg(line.words().first()));

    for (const QString& name : line.given()) {
        for (const std::optional<QString>& written : line.occurrences(QStringView(name).mid(2))) {
            const QString text = written.value_or(QString());
            if (name == u"--log") {
                options.log = true;
            } else if (name == u"--model") {
                const auto model = modelFromName(text);
                if (!model) return fail(QStringLiteral("unknown model: %1").arg(text));
                options.model = *model;
            } else if (name == u"--register") {
                const auto number = positive(text);
                if (!number || *number > link::kHighestRegister)
                    return fail(QStringLiteral("register number must be 1 to 99"));
                options.onlyRegister = number;
            } else if (name == u"--bus") {
                options.bus.clear();
                for (const QString& part : text.split(u',')) {
                    const auto number = positive(part);
                    if (!number || *number > link::kHighestRegister ||
                        options.bus.contains(*number)) {
                        return fail(
                            QStringLiteral("--bus takes different register numbers from 1 to 99, "
                                           "separated by commas"));
                    }
                    options.bus << *number;
                }
            } else if (name == u"--device") {
                if (text.isEmpty()) return fail(QStringLiteral("--device needs a path"));
                options.device = text;
            } else if (name == u"--pace") {
                const auto pace = positive(text);
                if (!pace) return fail(QStringLiteral("--pace needs a speed in baud"));
                options.pace = *pace;
            } else if (name == u"--chaos") {
                bool ok = false;
                const qulonglong seed = text.toULongLong(&ok);
                if (!ok) return fail(QStringLiteral("--chaos needs a seed (a whole number)"));
                options.chaosSeed = seed;
            } else if (name == u"--listen") {
                const auto address = link::parseNetworkAddress(text, true);
                if (!address)
                    return fail(QStringLiteral(
                        "--listen takes tcp://HOST:PORT or rfc2217://HOST:PORT, the port 0 to "
                        "65535"));
                options.listen << *address;
            } else if (name == u"--count") {
                const auto number = positive(text);
                if (!number || *number > 65535)
                    return fail(QStringLiteral("--count needs a number of lines, 1 to 65535"));
                count = *number;
            } else if (name == u"--speed") {
                const auto speed = positive(text);
                if (!speed) return fail(QStringLiteral("--speed needs a speed in baud"));
                options.speed = *speed;
            } else if (const FaultSwitch* fault = faultSwitch(name)) {
                if (!written) {
                    options.faults.*(fault->fault) = Fault::always();
                } else if (const auto times = positive(*written)) {
                    options.faults.*(fault->fault) = Fault::times(*times);
                } else {
                    return fail(QStringLiteral("%1 takes a count of 1 or more").arg(name));
                }
            }
        }
    }
    if (options.onlyRegister && !options.bus.isEmpty())
        return fail(QStringLiteral("--register and --bus do not go together"));
    if (!options.listen.isEmpty() && !options.device.isEmpty())
        return fail(QStringLiteral("--listen and --device do not go together"));
    if (count > 0) {
        if (options.listen.size() != 1)
            return fail(QStringLiteral("--count goes with one --listen"));
        const link::NetworkAddress first = options.listen.first();
        if (first.port != 0 && first.port + count - 1 > 65535)
            return fail(QStringLiteral("--count goes past port 65535"));
        // From port 0 each line takes a port of its own that the system picks.
        for (int i = 1; i < count; ++i) {
            link::NetworkAddress next = first;
            if (first.port != 0) next.port = quint16(first.port + i);
            options.listen << next;
        }
    }
    return ParsedSimOptions{options, QString()};
}

}  // namespace tabulon::sim
