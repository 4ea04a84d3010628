#pragma once

#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <atomic>
#include <memory>

#include "app/register_session.h"
#include "sim/simulated_link.h"
#include "support/window_fixture.h"

namespace tabulon::testing {

// A window on an in-process simulated register (virtual time), of the model
// chosen in its model box; connected unless told otherwise.
struct ConnectedWindow {
    explicit ConnectedWindow(sim::Model model = sim::Model::DatecsMp550T, bool connect = true) {
        auto simulated = sim::makeSimulatedLink(model);
        line = simulated.line;
        ecr = simulated.ecr;
        fixture = std::make_unique<WindowFixture>(QByteArray(), std::move(simulated.link));
        control<QComboBox>("ComboBox4")->setCurrentIndex(int(model));
        control<QComboBox>("ComboBox4")->activated(int(model));
        if (!connect) return;
        control<QPushButton>("Button5")->click();
        connected = fixture->waitForLink() && fixture->window().Connected;
    }
    template <class T>
    T* control(const char* name) {
        return fixture->control<T>(name);
    }
    app::MainWindow& window() { return fixture->window(); }
    ScriptedDialogs& dialogs() { return fixture->dialogs(); }
    void showTab(int tab) { control<QTabWidget>("PageControl1")->setCurrentIndex(tab); }
    // Clicks a button and waits for the job it starts to end.
    bool press(const char* button) {
        control<QPushButton>(button)->click();
        return fixture->waitForLink();
    }
    QString path(const QString& name) const { return fixture->path(name); }
    // The texts of the message boxes shown, in order.
    QStringList messageTexts() const {
        QStringList texts;
        for (const auto& box : fixture->dialogs().messages()) texts << box.text;
        return texts;
    }

    bool connected = false;
    std::shared_ptr<sim::SimulatedLine> line;
    std::shared_ptr<sim::SimulatedRegister> ecr;
    std::unique_ptr<WindowFixture> fixture;
};

// Time that moves on by one step each time it is read, from any thread: a
// transfer that reads it once at its start and once per record sees record
// k end k steps after the start, however fast the machine is. A test may
// also move it on by a stretch of its own (a person reading a dialog).
class SteppingClock final : public link::Clock {
public:
    explicit SteppingClock(Duration step) : step_(step) {}
    Duration now() const override { return step_ * reads_++ + Duration(skipped_.load()); }
    void sleepFor(Duration) override {}
    void advance(Duration by) { skipped_ += by.count(); }

private:
    Duration step_;
    mutable std::atomic<long long> reads_{0};
    std::atomic<Duration::rep> skipped_{0};
};

}  // namespace tabulon::testing
