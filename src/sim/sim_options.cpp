#include "sim/sim_options.h"

#include <algorithm>
#include <array>

namespace tabulon::sim {

namespace {

struct FaultSwitch {
    const char* name;
    Fault Faults::*fault;
    const char* help;
};

constexpr std::array<FaultSwitch, 9> kFaultSwitches{{
    {"--silent", &Faults::silent, "answer nothing at all"},
    {"--refuse-frames", &Faults::refuseFrames, "refuse every frame (NAK instead of ACK)"},
    {"--error-replies", &Faults::errorReplies, "reply \"E0;\" to every command"},
    {"--wrong-check-bytes", &Faults::wrongCheckBytes, "send reply lines with a wrong check byte"},
    {"--cut-short-lines", &Faults::cutShortLines, "stop reply lines halfway, without CR"},
    {"--fill-inside-lines", &Faults::fillInsideLines,
     "put 0xFF bytes inside status and reply lines"},
    {"--over-long-replies", &Faults::overLongReplies, "send reply texts of 300 bytes"},
    {"--late-replies", &Faults::lateReplies,
     "send the reply line only after the computer's 300 ms wait for it"},
    {"--alter-stored", &Faults::alterStored,
     "keep written records with a \"#\" for their first character"},
}};

std::optional<int> positive(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value > 0 ? std::optional<int>(value) : std::nullopt;
}

}  // namespace

QString simUsage() {
    QString usage = QStringLiteral(
        "Usage: tabulon-sim [--model MODEL] [--register N | --bus N,N...] [--device PATH]\n"
        "                   [--speed N] [--pace N]\n"
        "                   [--chaos SEED] [--log] [FAULT[=COUNT]...]\n"
        "A simulated cash register on a serial line. Without --device it opens a\n"
        "pseudo-terminal, prints its path on one line and serves until killed.\n"
        "\n"
        "  --model MODEL    mp-550t, mp-50-junior or neon (default neon)\n"
        "  --register N     answer only to register number N (default: every number)\n"
        "  --bus N,N...     several registers on the line, one for each number, each\n"
        "                   with its own tables; the faults go for all of them\n"
        "  --device PATH    serve on this serial device instead of a pseudo-terminal\n"
        "  --speed N        ignore the line unless it is set to N baud\n"
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
                     .arg(QString::fromLatin1(fault.name), -21)
                     .arg(QString::fromLatin1(fault.help));
    }
    return usage;
}

ParsedSimOptions parseSimOptions(const QStringList& arguments) {
    SimOptions options;
    const auto fail = [](const QString& error) { return ParsedSimOptions{std::nullopt, error}; };

    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString name = arguments[i];
        std::optional<QString> value;
        if (const qsizetype eq = name.indexOf(u'='); name.startsWith(u"--") && eq > 0) {
            value = name.mid(eq + 1);
            name.truncate(eq);
        }
        const auto takeValue = [&]() -> std::optional<QString> {
            if (value) return value;
            if (i + 1 < arguments.size()) return arguments[++i];
            return std::nullopt;
        };

        if (name == u"--help" || name == u"-h") {
            options.help = true;
        } else if (name == u"--log") {
            options.log = true;
        } else if (name == u"--model") {
            const auto text = takeValue();
            const auto model = text ? modelFromName(*text) : std::nullopt;
            if (!model)
                return fail(QStringLiteral("unknown model: %1").arg(text.value_or(QString())));
            options.model = *model;
        } else if (name == u"--register") {
            const auto text = takeValue();
            const auto number = text ? positive(*text) : std::nullopt;
            if (!number || *number > 99)
                return fail(QStringLiteral("register number must be 1 to 99"));
            options.onlyRegister = number;
        } else if (name == u"--bus") {
            const auto text = takeValue();
            options.bus.clear();
            for (const QString& part : text.value_or(QString()).split(u',')) {
                const auto number = positive(part);
                if (!number || *number > 99 || options.bus.contains(*number)) {
                    return fail(
                        QStringLiteral("--bus takes different register numbers from 1 to 99, "
                                       "separated by commas"));
                }
                options.bus << *number;
            }
        } else if (name == u"--device") {
            const auto text = takeValue();
            if (!text || text->isEmpty()) return fail(QStringLiteral("--device needs a path"));
            options.device = *text;
        } else if (name == u"--pace") {
            const auto text = takeValue();
            const auto pace = text ? positive(*text) : std::nullopt;
            if (!pace) return fail(QStringLiteral("--pace needs a speed in baud"));
            options.pace = *pace;
        } else if (name == u"--chaos") {
            const auto text = takeValue();
            bool ok = false;
            const qulonglong seed = text ? text->toULongLong(&ok) : 0;
            if (!ok) return fail(QStringLiteral("--chaos needs a seed (a whole number)"));
            options.chaosSeed = seed;
        } else if (name == u"--speed") {
            const auto text = takeValue();
            const auto speed = text ? positive(*text) : std::nullopt;
            if (!speed) return fail(QStringLiteral("--speed needs a speed in baud"));
            options.speed = *speed;
        } else {
            const auto fault =
                std::find_if(kFaultSwitches.begin(), kFaultSwitches.end(),
                             [&](const FaultSwitch& s) { return name == QLatin1String(s.name); });
            if (fault == kFaultSwitches.end())
                return fail(QStringLiteral("unknown option: %1").arg(arguments[i]));
            if (!value) {
                options.faults.*(fault->fault) = Fault::always();
            } else if (const auto count = positive(*value)) {
                options.faults.*(fault->fault) = Fault::times(*count);
            } else {
                return fail(QStringLiteral("%1 takes a count of 1 or more").arg(name));
            }
        }
    }
    if (options.onlyRegister && !options.bus.isEmpty())
        return fail(QStringLiteral("--register and --bus do not go together"));
    return ParsedSimOptions{options, QString()};
}

}  // namespace tabulon::sim
