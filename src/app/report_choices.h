#pragma once

#include <QElapsedTimer>
#include <QMutex>
#include <QString>
#include <functional>

#include "reports/report_download.h"

namespace tabulon::app {

// The reports tab as the download sees it from the link's thread. The
// report's choices are asked of the window as each report starts; the
// separator field, read at every line, is copied here as the user types it,
// so that a line costs no round trip to the window. Progress goes to the
// window at most every few milliseconds and at a report's last line: a bar
// cannot show ten thousand steps, and each would cost the window a repaint.
class ReportChoices final : public reports::DownloadChoices, public reports::DownloadProgress {
public:
    // `ask` runs on the window's thread; `started` and `written` are queued
    // to it.
    ReportChoices(std::function<std::optional<reports::ReportStart>(int index)> ask,
                  std::function<void(int index, reports::ReportStart start)> started,
                  std::function<void(int record)> written, QString separatorField);

    // The window's thread, on every edit of the separator field.
    void setSeparatorField(const QString& text);

    std::optional<reports::ReportStart> reportStarts(int index) override;
    std::optional<char> separator() override;
    void reportStarted(int index, const reports::ReportStart& start) override;
    void lineWritten(int index, int record) override;

private:
    std::function<std::optional<reports::ReportStart>(int)> ask_;
    std::function<void(int, reports::ReportStart)> started_;
    std::function<void(int)> written_;
    QMutex mutex_;
    std::optional<char> separator_;
    // The link's thread only.
    int records_ = 0;
    QElapsedTimer sinceShown_;
};

}  // namespace tabulon::app
