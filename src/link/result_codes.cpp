#include "link/result_codes.h"

namespace tabulon::link {

namespace {

QString text(std::u16string_view view) {
    return QStringView(view.data(), qsizetype(view.size())).toString();
}

const QString kUnknown = QStringLiteral("unknown result");

}  // namespace

QString russianText(Operation operation, ResultCause cause) {
    const ResultRow* row = resultRow(operation, cause);
    return row ? text(row->russian) : kUnknown;
}

QString englishText(Operation operation, ResultCause cause) {
    const ResultRow* row = resultRow(operation, cause);
    return row ? text(row->english) : kUnknown;
}

QString resultMeaning(Operation operation, int result) {
    if (result >= 0) return englishText(operation, ResultCause::Done);
    for (const ResultRow& row : kResultRows) {
        if (row.code != result || !contains(row.operations, operation)) continue;
        return text(row.englishOfCode.empty() ? row.english : row.englishOfCode);
    }
    return kUnknown;
}

}  // namespace tabulon::link
