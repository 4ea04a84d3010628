#pragma once

#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace tabulon::options {

// Qt's QCommandLineParser reads all three command lines: it is already part of
// the toolkit every program links, reads "--opt value", "--opt=value" and "--"
// as our programs always did, and the help texts stay our own.

enum class Takes {
    Nothing,
    Value,
    CountOrNothing,  // "--name" alone or "--name=COUNT", never the next word
};

struct Option {
    QStringView name;  // without the dashes
    Takes takes;
};

// A word the parser could not read, as data; text() words it.
struct Mistake {
    enum class Kind { UnknownOption, NeedsValue, TakesNoValue };
    Kind kind;
    QString option;  // as written, up to any "=": "--bogus", "-x"

    QString text() const;  // "unknown option --bogus", "--port needs a value"
};

// A number word of a command line, read as the three programs always have
// (QString::toInt): a sign and blanks around it are taken, "+5" and " 5" are
// 5. Files keep to text::wholeNumber's digits only.
std::optional<int> number(const QString& word);

// The program's one line for a mistake of its command line:
// "tabulon-cli: unknown option --bogus (see --help)\n".
QString usageMistake(QStringView program, const QString& mistake);

// A command line read against the options a program knows.
class CommandLine {
public:
    // `dashWordsAreWords`: a word with one dash ("-5", "-old.art") is a
    // command's argument, not an option.
    CommandLine(const QList<Option>& known, bool dashWordsAreWords);

    // The mistakes of the words (the arguments after the program name), in
    // the order unknown options, values where none goes, a value missing at
    // the end; empty when there is none. What was read is kept either way.
    QList<Mistake> read(const QStringList& arguments);

    bool isSet(QStringView name) const;
    // The last value given; empty when none was.
    QString value(QStringView name) const;
    // Each time the option was named, in order: its value as written, or
    // nullopt where it had none (a switch, a count not given). Every value
    // is checked, not only the last one that counts: a mistake in a repeated
    // option is still a mistake.
    QList<std::optional<QString>> occurrences(QStringView name) const;
    // The options named, in the order they were named, with their dashes
    // ("--verify"), once each.
    QStringList given() const;
    // The words that are no option nor an option's value.
    QStringList words() const;

private:
    QList<Option> known_;
    bool dashWordsAreWords_;
    QCommandLineParser parser_;
};

}  // namespace tabulon::options
