#include "fleet/fleet_report.h"

#include <QRegularExpression>
#include <algorithm>

#include "disk/input_file.h"
#include "disk/safe_save.h"

namespace tabulon::fleet {

namespace {

const QStringList kColumns{QStringLiteral("register"), QStringLiteral("outcome"),
                           QStringLiteral("done"),     QStringLiteral("failed"),
                           QStringLiteral("skipped"),  QStringLiteral("time"),
                           QStringLiteral("reason")};

// The differ column stands after the counts.
constexpr qsizetype kDifferColumn = 5;

QStringList columns(bool differ) {
    QStringList names = kColumns;
    if (differ) names.insert(kDifferColumn, QStringLiteral("differ"));
    return names;
}

QString count(const std::optional<int>& value, const QString& none) {
    return value ? QString::number(*value) : none;
}

// 0:07, 3:12, 1:04:09
QString clockTime(qint64 milliseconds) {
    const qint64 seconds = (milliseconds + 500) / 1000;
    const QString rest = QStringLiteral("%1").arg(seconds % 60, 2, 10, QLatin1Char('0'));
    if (seconds >= 3600) {
        return QStringLiteral("%1:%2:%3")
            .arg(seconds / 3600)
            .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
            .arg(rest);
    }
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(rest);
}

QString csvCell(const QString& cell) {
    if (!cell.contains(u',') && !cell.contains(u'"') && !cell.contains(u'\n') &&
        !cell.contains(u'\r'))
        return cell;
    QString quoted = cell;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

// The cells of the CSV lines of `text`, quotes undone.
QList<QStringList> csvRows(const QString& text) {
    QList<QStringList> rows;
    QStringList row;
    QString cell;
    bool quoted = false;
    bool any = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                cell += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                cell += c;
            }
            continue;
        }
        if (c == u'"') {
            quoted = true;
            any = true;
        } else if (c == u',') {
            row << cell;
            cell.clear();
            any = true;
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            if (any || !cell.isEmpty()) rows << (row << cell);
            row.clear();
            cell.clear();
            any = false;
        } else {
            cell += c;
            any = true;
        }
    }
    if (any || !cell.isEmpty()) rows << (row << cell);
    return rows;
}

// The last line of a report: a report cut at a line's end reads as one with
// fewer registers, each of the lost ones taken for done. A line of one cell,
// which a spreadsheet shows below the table, and no register's name: a "#"
// starts a comment in the fleet file.
QString countLine(qsizetype registers) {
    return QStringLiteral("# %1 register%2").arg(registers).arg(registers == 1 ? "" : "s");
}

// A count cell: empty for none, else a whole number; `ok` false for anything
// else.
std::optional<int> countCell(const QString& cell, bool& ok) {
    if (cell.isEmpty()) return std::nullopt;
    bool number = false;
    const int value = cell.toInt(&number);
    if (!number || value < 0) ok = false;
    return value;
}

}  // namespace

QString outcomeWord(Outcome outcome) {
    switch (outcome) {
        case Outcome::Done:
            return QStringLiteral("done");
        case Outcome::Failed:
            return QStringLiteral("failed");
        case Outcome::Refused:
            return QStringLiteral("refused");
        case Outcome::Stopped:
            return QStringLiteral("stopped");
        case Outcome::NotRun:
            return QStringLiteral("not run");
    }
    return {};
}

std::optional<Outcome> outcomeFromWord(const QString& word) {
    for (Outcome outcome :
         {Outcome::Done, Outcome::Failed, Outcome::Refused, Outcome::Stopped, Outcome::NotRun}) {
        if (outcomeWord(outcome) == word) return outcome;
    }
    return std::nullopt;
}

QString fleetTable(const QList<RegisterOutcome>& outcomes, bool differ) {
    QList<QStringList> rows{columns(differ)};
    for (const RegisterOutcome& o : outcomes) {
        const QString none = QStringLiteral("-");
        rows << QStringList{o.name,
                            outcomeWord(o.outcome),
                            count(o.done, none),
                            count(o.failed, none),
                            count(o.skipped, none),
                            clockTime(o.milliseconds),
                            o.reason};
        if (differ) rows.last().insert(kDifferColumn, count(o.differ, QString()));
    }
    const qsizetype lastNumber = differ ? 6 : 5;
    QList<qsizetype> widths(rows[0].size(), 0);
    for (const QStringList& row : rows) {
        for (qsizetype c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
    }
    QString table;
    for (const QStringList& row : rows) {
        QString line;
        for (qsizetype c = 0; c < row.size(); ++c) {
            // Counts and times to the right, words to the left.
            const bool number = c >= 2 && c <= lastNumber;
            const int width = int(widths[c]);
            line += (number ? row[c].rightJustified(width) : row[c].leftJustified(width)) +
                    QStringLiteral("  ");
        }
        table += line.trimmed() + u'\n';
    }
    return table;
}

QByteArray fleetCsv(const QList<RegisterOutcome>& outcomes, bool differ) {
    QStringList header = columns(differ);
    header[header.size() - 2] = QStringLiteral("seconds");
    QString text = header.join(u',') + u'\n';
    for (const RegisterOutcome& o : outcomes) {
        QStringList cells{csvCell(o.name),
                          outcomeWord(o.outcome),
                          count(o.done, QString()),
                          count(o.failed, QString()),
                          count(o.skipped, QString()),
                          QString::number(double(o.milliseconds) / 1000.0, 'f', 1),
                          csvCell(o.reason)};
        if (differ) cells.insert(kDifferColumn, count(o.differ, QString()));
        text += cells.join(u',') + u'\n';
    }
    text += countLine(outcomes.size()) + u'\n';
    return text.toUtf8();
}

ReadReport parseFleetCsv(const QByteArray& bytes) {
    const QList<QStringList> rows = csvRows(QString::fromUtf8(bytes));
    const auto fail = [](const QString& why) { return ReadReport{{}, why}; };
    if (rows.isEmpty() || rows[0].value(0) != kColumns[0] || rows[0].value(1) != kColumns[1])
        return fail(QStringLiteral("not a fleet report (its first line is not the header)"));
    // A run writes its report only when it ran a register: one with none is
    // cut short, and running nothing for it would call every register done.
    static const QRegularExpression countPattern(QStringLiteral("^# ([0-9]{1,9}) registers?$"));
    const QRegularExpressionMatch count =
        rows.back().size() == 1 ? countPattern.match(rows.back()[0]) : QRegularExpressionMatch();
    const qsizetype end = count.hasMatch() ? rows.size() - 1 : rows.size();
    // A run writes its report only when it ran a register: one with none is
    // cut short, and running nothing for it would call every register done.
    if (end == 1) {
        return fail(
            QStringLiteral("no registers in it: a fleet report has a line for every register it "
                           "ran"));
    }
    const bool differ = rows[0].value(kDifferColumn) == u"differ";
    // The cells after the counts, one further on with the differ column.
    const qsizetype after = differ ? 1 : 0;
    ReadReport report;
    for (qsizetype index = 1; index < end; ++index) {
        const QStringList& row = rows[index];
        const auto outcome = outcomeFromWord(row.value(1));
        bool counts = true;
        const std::optional<int> done = countCell(row.value(2), counts);
        const std::optional<int> failed = countCell(row.value(3), counts);
        const std::optional<int> skipped = countCell(row.value(4), counts);
        const std::optional<int> differing =
            differ ? countCell(row.value(kDifferColumn), counts) : std::nullopt;
        bool timeOk = false;
        const double seconds = row.value(5 + after).toDouble(&timeOk);
        if (row.size() != 7 + after || row[0].isEmpty() || !outcome || !counts || !timeOk)
            return fail(QStringLiteral("line %1 is not a register's outcome").arg(index + 1));
        report.outcomes << RegisterOutcome{row[0],         *outcome, done,
                                           failed,         skipped,  qint64(seconds * 1000.0 + 0.5),
                                           row[6 + after], differing};
    }
    if (!count.hasMatch() || count.captured(1).toLongLong() != end - 1) {
        return fail(QStringLiteral(
            "cut short: its last line is not \"# N registers\" counting the registers above it"));
    }
    return report;
}

ReadReport readFleetReport(const QString& path) {
    // A line a register, the reason included, is far below 300 bytes: 16 MB
    // holds any fleet's report many times over.
    const disk::WholeFile file = disk::readWholeFile(path, 16 * disk::kMebibyte);
    if (!file.error.isEmpty())
        return ReadReport{{}, QStringLiteral("%1: %2").arg(path, file.error)};
    ReadReport report = parseFleetCsv(file.bytes);
    if (!report.error.isEmpty()) report.error = QStringLiteral("%1: %2").arg(path, report.error);
    return report;
}

std::optional<QString> writeFleetReport(const QString& path, const QList<RegisterOutcome>& outcomes,
                                        bool differ) {
    disk::SafeSave file(path);
    const QByteArray bytes = fleetCsv(outcomes, differ);
    if (!file.open() || file.device().write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("%1: not written: %2").arg(path, file.errorString());
    return std::nullopt;
}

QStringList unfinishedNames(const QList<RegisterOutcome>& outcomes) {
    QStringList names;
    for (const RegisterOutcome& o : outcomes) {
        if (o.outcome != Outcome::Done) names << o.name;
    }
    return names;
}

}  // namespace tabulon::fleet
