#include "transfer/run_plan.h"

#include "text/decimal_number.h"
#include "transfer/register_tables.h"

namespace tabulon::transfer {

namespace {

constexpr int kWriteIntervalLimit = 10000;

struct Interval {
    int start;
    int end;
    int firstRecord;
};

std::optional<int> wholeNumber(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// A write may use every record up to 10000 on every model; a read keeps
// within the goods the model has.
std::optional<QString> checkInterval(const IntervalTexts& texts, int limit, Interval& out) {
    const QString* fields[] = {&texts.start, &texts.end, &texts.firstRecord};
    int values[3] = {};
    for (int i = 0; i < 3; ++i) {
        const std::optional<int> value = wholeNumber(*fields[i]);
        if (!value) return text::invalidIntegerMessage(*fields[i]);
        values[i] = *value;
    }
    for (int value : values) {
        if (value < 1 || value > limit) return badIntervalMessage();
    }
    out = {values[0], values[1], values[2]};
    if (limit - out.firstRecord < out.end - out.start) return badIntervalMessage();
    if (out.end < out.start) return badIntervalMessage();
    return std::nullopt;
}

}  // namespace

QString badIntervalMessage() {
    return QStringLiteral("Ошибка! Неверные границы данных!");
}

PlanResult planTableRun(Direction direction, TableKind kind, Model model,
                        const std::optional<IntervalTexts>& interval) {
    RunPlan plan;
    plan.direction = direction;
    plan.kind = kind;
    plan.model = model;

    const RecordRange records = direction == Direction::Read    ? readRecords(kind, model)
                                : direction == Direction::Write ? writtenRecords(kind, model)
                                                                : clearedRecords(kind, model);
    plan.firstRow = records.first;
    plan.lastRow = records.last;
    plan.firstRecord = records.first;

    if (interval && kind == TableKind::Goods && direction != Direction::Clear) {
        const int limit = direction == Direction::Write ? kWriteIntervalLimit : goodsCount(model);
        Interval bounds{};
        if (std::optional<QString> error = checkInterval(*interval, limit, bounds))
            return {std::nullopt, *error};
        plan.firstRow = bounds.start;
        plan.lastRow = bounds.end;
        plan.firstRecord = bounds.firstRecord;
    }

    if (direction == Direction::Clear) {
        plan.progressMaximum = plan.lastRow;
        plan.progressStart = plan.firstRow - 1;
    } else {
        plan.progressMaximum = plan.lastRow - plan.firstRow;
        plan.progressStart = 0;
    }
    return {plan, QString()};
}

}  // namespace tabulon::transfer
