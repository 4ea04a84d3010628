#include "app/report_choices.h"

#include "reports/report_line.h"

namespace tabulon::app {

ReportChoices::ReportChoices(std::function<std::optional<reports::ReportStart>(int)> ask,
                             std::function<void(int, reports::ReportStart)> started,
                             std::function<void(int)> written, QString separatorField)
    : ask_(std::move(ask)),
      started_(std::move(started)),
      written_(std::move(written)),
      separator_(reports::separatorByte(separatorField)) {}

void ReportChoices::setSeparatorField(const QString& text) {
    const QMutexLocker lock(&mutex_);
    separator_ = reports::separatorByte(text);
}

std::optional<reports::ReportStart> ReportChoices::reportStarts(int index) {
    return ask_(index);
}

std::optional<char> ReportChoices::separator() {
    const QMutexLocker lock(&mutex_);
    return separator_;
}

namespace {
constexpr qint64 kProgressEveryMs = 15;
}

void ReportChoices::reportStarted(int index, const reports::ReportStart& start) {
    records_ = start.records;
    sinceShown_.start();
    started_(index, start);
}

void ReportChoices::lineWritten(int, int record) {
    if (record < records_ && sinceShown_.elapsed() < kProgressEveryMs) return;
    sinceShown_.start();
    written_(record);
}

}  // namespace tabulon::app
