#pragma once

#include <QWidget>
#include <memory>
#include <optional>

#include "app/controls.h"

namespace Ui {
class ReportsPageForm;
}

namespace tabulon::reports {
struct DownloadEnd;
struct ReportStart;
}  // namespace tabulon::reports

namespace tabulon::app {

struct CommandStates;
class PageHost;
class ReportChoices;

// The tab "Отчеты": which of the seven reports to read, their file names,
// the field separator and the directory, and "Чтение отчетов". The download
// runs on the link's thread; it asks the page for each report's choices as
// it comes to it and sends its progress back.
class ReportsPage : public QWidget {
    Q_OBJECT
public:
    // Made by the main window's form; attach() before any use.
    explicit ReportsPage(QWidget* parent = nullptr);
    ~ReportsPage() override;

    void attach(PageHost& host);
    // The report file names, in the reports' order, and the directory, as the
    // settings file gives them.
    void showStoredNames(const QStringList& files, const QString& directory);
    // The page's commands and the states the window's rule gives them.
    void addCommandStates(const CommandStates& on, EnabledStates& states) const;

    // Handlers, named after their control and event.
    void Button17Click();
    void Button18Click();
    void Button19Click();
    void DirectoryEdit1ButtonClick();

private:
    std::optional<reports::ReportStart> reportStart(int index) const;
    void endDownload(const reports::DownloadEnd& end);

    std::unique_ptr<Ui::ReportsPageForm> ui;
    PageHost* host_ = nullptr;
    std::shared_ptr<ReportChoices> download_;  // while a download runs
    int reportRecords_ = 0;                    // of the report in hand
};

}  // namespace tabulon::app
