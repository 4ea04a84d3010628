#pragma once

#include <QWidget>
#include <memory>

#include "app/controls.h"

class QProgressBar;

namespace Ui {
class LogoPageForm;
}

namespace tabulon::app {

struct CommandStates;
class LogoBox;
class PageHost;

// The tab "Логотип": the logo box with "растянуть/сжать", loading and saving
// the logo as a BMP file, and writing it into the register and reading it
// back. The transfers run on the link's thread; the rows read come back as
// values and are drawn here.
class LogoPage : public QWidget {
    Q_OBJECT
public:
    // Made by the main window's form; attach() before any use.
    explicit LogoPage(QWidget* parent = nullptr);
    ~LogoPage() override;

    // The window the page works for, and the bar that shows a transfer's
    // progress (the window's own).
    void attach(PageHost& host, QProgressBar* progress);
    // The page's commands and the states the window's rule gives them.
    void addCommandStates(const CommandStates& on, EnabledStates& states) const;

    // Handlers, named after their control and event.
    void Button7Click();
    void Button11Click();
    void Button13Click();
    void Button12Click();
    void CheckBox2Click();

private:
    void tell(const QString& text);

    std::unique_ptr<Ui::LogoPageForm> ui;
    std::unique_ptr<LogoBox> logoBox_;
    PageHost* host_ = nullptr;
    QProgressBar* progress_ = nullptr;
};

}  // namespace tabulon::app
