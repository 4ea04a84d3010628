#include "options/command_line.h"

#include <QCommandLineOption>

namespace tabulon::options {

namespace {

// No word of a command line holds a NUL: put before a word, it hides the word
// from the parser's eye for dashes; as a value, it stands for a count not given.
constexpr QChar kMark = u'\0';

QString unmarked(QString text) {
    if (text.startsWith(kMark)) text.remove(0, 1);
    return text;
}

// "--name" or "-name" less its dashes and any "=value".
QString nameOf(const QString& word) {
    const QString name = word.section(u'=', 0, 0);
    return name.mid(name.startsWith(u"--") ? 2 : 1);
}

// Our options have two dashes; one dash goes with a one-letter name ("-h")
// only. "-log" is a mistake for the simulator, and for the window one of the
// toolkit's own words ("-platform"), never our --log or --grab.
bool longNameWithOneDash(const QString& word) {
    return word.startsWith(u'-') && !word.startsWith(u"--") && nameOf(word).size() > 1;
}

}  // namespace

QString Mistake::text() const {
    switch (kind) {
        case Kind::UnknownOption:
            return QStringLiteral("unknown option %1").arg(option);
        case Kind::NeedsValue:
            return QStringLiteral("%1 needs a value").arg(option);
        case Kind::TakesNoValue:
            return QStringLiteral("%1 takes no value").arg(option);
    }
    return {};
}

std::optional<int> number(const QString& word) {
    bool ok = false;
    const int value = word.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

QString usageMistake(QStringView program, const QString& mistake) {
    return QStringLiteral("%1: %2 (see --help)\n").arg(program, mistake);
}

CommandLine::CommandLine(const QList<Option>& known, bool dashWordsAreWords)
    : known_(known), dashWordsAreWords_(dashWordsAreWords) {
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const Option& option : known_) {
        const QString valueName = option.takes == Takes::Nothing ? QString() : QStringLiteral("x");
        parser_.addOption(QCommandLineOption(option.name.toString(), QString(), valueName));
    }
}

QList<Mistake> CommandLine::read(const QStringList& arguments) {
    const auto takes = [&](const QString& word) -> std::optional<Takes> {
        if (!word.startsWith(u'-') || (dashWordsAreWords_ && !word.startsWith(u"--")) ||
            longNameWithOneDash(word))
            return std::nullopt;
        for (const Option& option : known_)
            if (option.name == nameOf(word)) return option.takes;
        return std::nullopt;
    };
    QStringList marked{QStringLiteral("program")};
    bool valueNext = false;
    for (const QString& word : arguments) {
        const bool isValue = valueNext;
        valueNext = !word.contains(u'=') && takes(word) == Takes::Value;
        if (dashWordsAreWords_ && word.size() > 1 && word.startsWith(u'-') &&
            !word.startsWith(u"--")) {
            marked << kMark + word;
        } else if (!isValue && longNameWithOneDash(word)) {
            // Marked, the parser finds no such option and leaves ours unset.
            marked << QStringLiteral("--") + kMark + word.mid(1);
        } else if (!word.contains(u'=') && takes(word) == Takes::CountOrNothing) {
            marked << word + u'=' + kMark;
        } else {
            marked << word;
        }
    }
    QList<Mistake> mistakes;
    if (parser_.parse(marked)) return mistakes;

    for (const QString& name : parser_.unknownOptionNames()) {
        const bool oneDash = name.startsWith(kMark);
        QString written = (oneDash ? QStringLiteral("-") : QStringLiteral("--")) + unmarked(name);
        for (const QString& word : arguments) {
            if (word.startsWith(u'-') && (!oneDash || longNameWithOneDash(word)) &&
                nameOf(word) == unmarked(name)) {
                written = word.section(u'=', 0, 0);
                break;
            }
        }
        mistakes << Mistake{Mistake::Kind::UnknownOption, written};
    }
    for (const QString& word : arguments) {
        if (word.contains(u'=') && takes(word) == Takes::Nothing)
            mistakes << Mistake{Mistake::Kind::TakesNoValue, word.section(u'=', 0, 0)};
    }
    if (!arguments.isEmpty() && !arguments.last().contains(u'=') &&
        takes(arguments.last()) == Takes::Value)
        mistakes << Mistake{Mistake::Kind::NeedsValue, arguments.last()};
    return mistakes;
}

bool CommandLine::isSet(QStringView name) const {
    return parser_.isSet(name.toString());
}

QString CommandLine::value(QStringView name) const {
    return unmarked(parser_.value(name.toString()));
}

QList<std::optional<QString>> CommandLine::occurrences(QStringView name) const {
    QList<std::optional<QString>> named;
    const QStringList values = parser_.values(name.toString());
    if (values.isEmpty() && isSet(name)) named << std::nullopt;
    for (const QString& text : values)
        named << (text == kMark ? std::nullopt : std::optional<QString>(unmarked(text)));
    return named;
}

QStringList CommandLine::given() const {
    QStringList names;
    for (const QString& name : parser_.optionNames()) {
        const QString dashed = QStringLiteral("--") + name;
        if (!names.contains(dashed)) names << dashed;
    }
    return names;
}

QStringList CommandLine::words() const {
    QStringList words;
    for (const QString& word : parser_.positionalArguments()) words << unmarked(word);
    return words;
}

}  // namespace tabulon::options
