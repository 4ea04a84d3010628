#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include "app/main_window.h"
#include "sim/sim_process.h"
#include "support/scripted_dialogs.h"

namespace tabulon::bench {

// The real window connected, through a pseudo-terminal at 115200 baud, to a
// simulated Neon register, in a scratch working directory whose Tabulon.ini
// puts COM1 on it. problem() says why it is not, if it is not.
class WindowOnSim {
public:
    WindowOnSim() : ecr_({"--model", "neon"}) {
        QDir::setCurrent(dir_.path());
        QFile ini(dir_.filePath("Tabulon.ini"));
        if (ecr_.path().isEmpty() || !ini.open(QIODevice::WriteOnly)) {
            problem_ = "no simulated register";
            return;
        }
        ini.write("[Communication]\r\nSpeed=115200\r\n[Ports]\r\nCOM1=" +
                  ecr_.path().toLocal8Bit() + "\r\n");
        ini.close();
        window_.show();
        while (!window_.isInitialised()) QCoreApplication::processEvents();
        window_.findChild<QPushButton*>("Button5")->click();
        while (window_.isLinkBusy()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::processEvents();
        if (!window_.Connected) problem_ = "not connected";
    }

    const char* problem() const { return problem_; }
    app::MainWindow& window() { return window_; }
    ScriptedDialogs& dialogs() { return dialogs_; }

private:
    SimProcess ecr_;
    QTemporaryDir dir_;
    ScriptedDialogs dialogs_;
    app::MainWindow window_{&dialogs_};
    const char* problem_ = nullptr;
};

}  // namespace tabulon::bench
