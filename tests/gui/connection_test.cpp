#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSemaphore>
#include <QTabWidget>
#include <QTest>
#include <atomic>
#include <chrono>

#include "ports/port_resolver.h"
#include "settings/startup_settings.h"
#include "sim/simulated_line.h"
#include "sim/simulated_link.h"
#include "support/sim_process.h"
#include "support/window_fixture.h"
#include "text/cp1251.h"

using namespace std::chrono_literals;
using tabulon::MessageIcon;
using tabulon::link::RegisterLink;
using tabulon::sim::SimulatedLine;
using tabulon::sim::SimulatedRegister;
using tabulon::testing::WindowFixture;

namespace {

// A register that notes the window's state label each time the computer
// sends it something, so a test sees what the label showed during detection.
class WatchedRegister : public SimulatedRegister {
public:
    WatchedRegister(tabulon::sim::Model model, QLabel** label)
        : SimulatedRegister(model), label_(label) {}
    QByteArray receive(QByteArrayView bytes) override {
        if (*label_) seen.insert((*label_)->text());
        // Held: detection's first poll waits until the test lets it go.
        if (bytes.contains('\x11') && holdDetection.exchange(false)) {
            held.release();
            released.acquire();
        }
        return SimulatedRegister::receive(bytes);
    }
    QSet<QString> seen;
    std::atomic<bool> holdDetection{false};
    QSemaphore held;
    QSemaphore released;

private:
    QLabel** label_;
};

struct SimulatedWindow {
    explicit SimulatedWindow(std::optional<int> answersTo = std::nullopt, bool silent = false,
                             tabulon::link::DeviceResolver deviceFor = {},
                             const QByteArray& iniBytes = {}) {
        clock = std::make_shared<tabulon::link::VirtualClock>();
        line = std::make_shared<SimulatedLine>(clock);
        ecr = std::make_shared<WatchedRegister>(tabulon::sim::Model::DatecsMp550T, &stateLabel);
        ecr->answerOnlyTo(answersTo);
        if (silent) ecr->faults().silent = tabulon::sim::Fault::always();
        line->attach(ecr);
        RegisterLink::Parts parts;
        parts.port = std::make_unique<tabulon::sim::SimulatedPort>(line);
        parts.clock = clock;
        parts.priority = std::make_shared<tabulon::link::CountingPriority>();
        if (deviceFor) parts.deviceFor = std::move(deviceFor);
        fixture = std::make_unique<WindowFixture>(iniBytes,
                                                  std::make_unique<RegisterLink>(std::move(parts)));
        stateLabel = fixture->control<QLabel>("Label3");
    }
    template <class T>
    T* control(const char* name) {
        return fixture->control<T>(name);
    }
    void choose(int port, const QString& speed, int registerNumber) {
        control<QComboBox>("ComboBox1")->setCurrentIndex(port - 1);
        control<QComboBox>("ComboBox2")->setCurrentText(speed);
        control<QComboBox>("ComboBox3")->setCurrentIndex(registerNumber - 1);
    }
    void click() {
        control<QPushButton>("Button5")->click();
        QVERIFY(fixture->waitForLink());
    }
    // Clicks and returns once detection is under way, held by the register.
    bool clickAndHoldDetection() {
        ecr->holdDetection = true;
        control<QPushButton>("Button5")->click();
        return QTest::qWaitFor([this] { return ecr->held.tryAcquire(); }, 20000);
    }
    bool releaseDetection() {
        ecr->released.release();
        return fixture->waitForLink();
    }
    int enabledBoxes() {
        int enabled = 0;
        for (const char* name : {"ComboBox1", "ComboBox2", "ComboBox3", "ComboBox4"})
            enabled += control<QComboBox>(name)->isEnabled();
        return enabled;
    }
    bool boxesEnabled() {
        const int enabled = enabledBoxes();
        if (enabled != 0 && enabled != 4) qWarning("connection boxes are partly enabled");
        return enabled == 4;
    }
    bool transferButtonsEnabled(bool clear) {
        return control<QPushButton>("Button4")->isEnabled() &&
               control<QPushButton>("Button9")->isEnabled() &&
               control<QPushButton>("Button8")->isEnabled() == clear;
    }
    // "Записать в ЭККА", "Прочитать из ЭККА" and "Очистить", as 1 and 0.
    QString transferButtons() {
        QString states;
        for (const char* name : {"Button4", "Button9", "Button8"})
            states += control<QPushButton>(name)->isEnabled() ? '1' : '0';
        return states;
    }
    QColor stateColour() { return stateLabel->palette().color(QPalette::WindowText); }

    QLabel* stateLabel = nullptr;
    std::shared_ptr<tabulon::link::VirtualClock> clock;
    std::shared_ptr<SimulatedLine> line;
    std::shared_ptr<WatchedRegister> ecr;
    std::unique_ptr<WindowFixture> fixture;
};

QByteArray fill(int n) {
    return QByteArray(n, char(0xFF));
}
QByteArray release88() {
    return fill(8) + "\x13\x13" + fill(8);
}

}  // namespace

class ConnectionTest : public QObject {
    Q_OBJECT
private slots:
    void connectsToThePresentRegister();
    void silentRegisterLeavesThePortOpenAndTheBoxesFree();
    void speedTextDecidesTheLineSpeed();
    void clearButtonFollowsTheActiveTab();
    void disconnectRestoresEverything();
    void portThatDoesNotOpenIsReported();
    void portBoxTellsEachNamesDevice();
    void connectsThroughAPseudoTerminalToTheSimulator();
    void boxesAreLockedFromConnectToDisconnect();
    void theOpenedPortServesTheRunWhateverTheBoxesSay();
};

void ConnectionTest::connectsToThePresentRegister() {
    SimulatedWindow w(2);
    w.choose(3, "9600", 2);
    w.click();

    const QByteArray sent = w.line->sent();
    QVERIFY(sent.startsWith(release88() + fill(5) + fill(10) +
                            "\x11\x11"
                            "02"));
    QVERIFY(w.clock->now() > 2000ms);
    QCOMPARE(w.line->device(), QString("COM3"));
    QVERIFY(w.line->settings().has_value());
    QCOMPARE(w.line->settings()->baudRate, 9600);
    QVERIFY(w.ecr->seen.contains("Порт подключен"));

    QCOMPARE(w.stateLabel->text(), QString("Datecs MP-550T подключена"));
    QCOMPARE(w.stateColour(), QColor(0, 128, 0));
    QCOMPARE(w.fixture->window().RegisterNumber, 2);
    QVERIFY(w.fixture->window().Connected);
    QVERIFY(!w.boxesEnabled());
    QCOMPARE(w.control<QPushButton>("Button5")->text(), QString("Отключить"));
    QVERIFY(w.transferButtonsEnabled(true));
    QVERIFY(w.fixture->dialogs().messages().isEmpty());
    w.fixture->screenshot("connected");
}

void ConnectionTest::silentRegisterLeavesThePortOpenAndTheBoxesFree() {
    SimulatedWindow w(std::nullopt, true);
    w.choose(1, "4800", 1);
    w.click();

    QVERIFY(w.ecr->seen.contains("Порт подключен"));
    QCOMPARE(w.stateLabel->text(), QString("Не подключена"));
    QCOMPARE(w.stateColour(), QColor(255, 0, 0));
    const auto boxes = w.fixture->dialogs().messages();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].text, QString("Касса не обнаружена"));
    QCOMPARE(boxes[0].caption, QString("Предупреждение"));
    QCOMPARE(boxes[0].icon, MessageIcon::Stop);
    QCOMPARE(w.fixture->window().RegisterNumber, -1);
    QVERIFY(!w.fixture->window().Connected);
    QVERIFY(w.boxesEnabled());
    QCOMPARE(w.control<QPushButton>("Button5")->text(), QString("Подключить"));
    QVERIFY(!w.control<QPushButton>("Button4")->isEnabled());
    QVERIFY(w.line->isOpen());

    // The next click closes the port it left open before trying again.
    w.line->clearTranscript();
    w.ecr->faults().silent = tabulon::sim::Fault();
    w.click();
    QVERIFY(w.line->sent().startsWith(release88() + release88()));
    QCOMPARE(w.stateLabel->text(), QString("Datecs MP-550T подключена"));
}

void ConnectionTest::speedTextDecidesTheLineSpeed() {
    SimulatedWindow w;
    w.choose(1, "57700", 1);
    w.click();
    QCOMPARE(w.line->settings()->baudRate, 57700);
    QVERIFY(w.fixture->window().Connected);
    w.click();

    w.choose(1, "57600", 1);
    w.click();
    auto boxes = w.fixture->dialogs().messages();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].caption, QString("Ошибка подключения"));
    QCOMPARE(boxes[0].icon, MessageIcon::Information);
    QCOMPARE(boxes[0].text, QString("Скорость 57600 бод не поддерживается"));
    QCOMPARE(w.stateLabel->text(), QString("Не подключена"));
    QVERIFY(!w.line->isOpen());

    w.choose(1, "96OO", 1);
    w.click();
    boxes = w.fixture->dialogs().messages();
    QCOMPARE(boxes.size(), 2);
    QCOMPARE(boxes[1].text, QString("'96OO' is not a valid integer value"));
    QVERIFY(!w.line->isOpen());
}

void ConnectionTest::clearButtonFollowsTheActiveTab() {
    // The tab shown when the register is found, and then a grid tab.
    const struct {
        int tab;
        const char* connected;
    } rows[] = {{9, "110"}, {6, "110"}, {3, "111"}, {8, "000"}};
    for (const auto& row : rows) {
        SimulatedWindow w;
        w.control<QTabWidget>("PageControl1")->setCurrentIndex(row.tab);
        w.click();
        QVERIFY(w.fixture->window().Connected);
        QVERIFY2(w.transferButtons() == row.connected, qPrintable(QString::number(row.tab)));
        w.control<QTabWidget>("PageControl1")->setCurrentIndex(2);
        QCOMPARE(w.transferButtons(), QString("111"));
    }
}

void ConnectionTest::disconnectRestoresEverything() {
    SimulatedWindow w;
    w.choose(2, "19200", 1);
    w.click();
    QVERIFY(w.fixture->window().Connected);
    w.line->clearTranscript();
    w.click();
    QCOMPARE(w.line->sent(), release88());
    QVERIFY(!w.line->isOpen());
    QCOMPARE(w.stateLabel->text(), QString("Не подключена"));
    QCOMPARE(w.stateColour(), QColor(255, 0, 0));
    QCOMPARE(w.fixture->window().RegisterNumber, -1);
    QVERIFY(!w.fixture->window().Connected);
    QVERIFY(w.boxesEnabled());
    QCOMPARE(w.control<QPushButton>("Button5")->text(), QString("Подключить"));
    QVERIFY(!w.control<QPushButton>("Button4")->isEnabled());
    QVERIFY(!w.control<QPushButton>("Button9")->isEnabled());
    QVERIFY(!w.control<QPushButton>("Button8")->isEnabled());
    QVERIFY(w.fixture->dialogs().messages().isEmpty());
}

void ConnectionTest::portThatDoesNotOpenIsReported() {
    // The device is looked at once it failed: this one does not exist.
    SimulatedWindow w(std::nullopt, false,
                      [](int) { return QStringLiteral("/dev/tabulon-no-such-port"); });
    w.line->failOpen(QString("No such file or directory"));
    w.click();
    const auto boxes = w.fixture->dialogs().messages();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].text, QString("Порт COM1 — это /dev/tabulon-no-such-port, но такого "
                                    "устройства больше нет. Проверьте, подключён ли адаптер."));
    QCOMPARE(boxes[0].caption, QString("Ошибка подключения"));
    QCOMPARE(w.stateLabel->text(), QString("Не подключена"));
    QVERIFY(!w.fixture->window().Connected);
    QCOMPARE(w.fixture->window().RegisterNumber, 0);
}

void ConnectionTest::portBoxTellsEachNamesDevice() {
    // The window's own resolver, from the settings file in its working directory.
    SimulatedWindow w(std::nullopt, false, tabulon::ports::portResolver(),
                      "[Ports]\r\nCOM2=/dev/tabulon-test-port\r\n");
    auto* box = w.control<QComboBox>("ComboBox1");
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(box, &enter);
    for (int i = 0; i < 9; ++i) {
        const QString tip = box->itemData(i, Qt::ToolTipRole).toString();
        QVERIFY2(tip.startsWith(QStringLiteral("COM%1: ").arg(i + 1)), qPrintable(tip));
    }
    QCOMPARE(box->itemData(1, Qt::ToolTipRole).toString(),
             QString("COM2: /dev/tabulon-test-port (из [Ports] в Tabulon.ini)"));
    box->setCurrentIndex(1);
    QCOMPARE(box->toolTip(), QString("COM2: /dev/tabulon-test-port (из [Ports] в Tabulon.ini)"));

    // A failure names the device the entry gave.
    w.line->failOpen(QString("No such file or directory"));
    w.click();
    const auto boxes = w.fixture->dialogs().messages();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].text,
             QString("Порт COM2 — это /dev/tabulon-test-port (раздел [Ports] файла Tabulon.ini), "
                     "но такого устройства нет. Подключите адаптер или исправьте запись COM2 в "
                     "Tabulon.ini."));
}

void ConnectionTest::connectsThroughAPseudoTerminalToTheSimulator() {
    const SimProcess ecr({"--model", "neon", "--register", "3"});
    const QString& device = ecr.path();
    QVERIFY2(device.startsWith("/dev/"), qPrintable(device));

    WindowFixture f("[Ports]\r\nCOM4=" + device.toLocal8Bit() + "\r\n");
    f.control<QComboBox>("ComboBox1")->setCurrentIndex(3);
    f.control<QComboBox>("ComboBox2")->setCurrentText("115200");
    f.control<QComboBox>("ComboBox3")->setCurrentIndex(2);
    f.control<QComboBox>("ComboBox4")->setCurrentIndex(2);
    f.control<QPushButton>("Button5")->click();
    QVERIFY(f.waitForLink());
    QCOMPARE(f.control<QLabel>("Label3")->text(), QString("Neon подключена"));
    QCOMPARE(f.window().RegisterNumber, 3);
    f.control<QPushButton>("Button5")->click();
    QVERIFY(f.waitForLink());
    QVERIFY(!f.window().Connected);
}

void ConnectionTest::boxesAreLockedFromConnectToDisconnect() {
    struct State {
        int boxes;  // of the four connection boxes, how many are enabled
        bool button;
        QString caption;
        QString label;
    };
    const State idle{4, true, "Подключить", "Не подключена"};
    const State detecting{0, false, "Подключить", "Порт подключен"};
    const State opening{0, false, "Подключить", "Не подключена"};
    const State connected{0, true, "Отключить", "Datecs MP-550T подключена"};
    struct Row {
        const char* name;
        bool registerAnswers;
        bool portOpens;
        State during, after;
    };
    const Row rows[] = {
        {"found", true, true, detecting, connected},
        {"not found", false, true, detecting, idle},
        // No detection: the boxes are locked from the click until the refusal.
        {"port refused", true, false, opening, idle},
    };
    for (const Row& row : rows) {
        SimulatedWindow w(std::nullopt, !row.registerAnswers);
        if (!row.portOpens) w.line->failOpen(QString("Permission denied"));
        // What differs from the expected state, or nothing.
        const auto differs = [&w, &row](const char* stage, const State& state) {
            auto* button = w.control<QPushButton>("Button5");
            const State shown{w.enabledBoxes(), button->isEnabled(), button->text(),
                              w.stateLabel->text()};
            if (shown.boxes == state.boxes && shown.button == state.button &&
                shown.caption == state.caption && shown.label == state.label)
                return QString();
            return QStringLiteral("%1, %2: %3 boxes on, button %4 \"%5\", label \"%6\"")
                .arg(row.name, stage, QString::number(shown.boxes), shown.button ? "on" : "off",
                     shown.caption, shown.label);
        };
        const QString before = differs("before", idle);
        QVERIFY2(before.isEmpty(), qPrintable(before));
        if (row.portOpens) {
            QVERIFY2(w.clickAndHoldDetection(), row.name);
        } else {
            w.control<QPushButton>("Button5")->click();
        }
        // Looked at while the link is held; checked once it is let go.
        const QString during = differs("during", row.during);
        if (row.portOpens && row.registerAnswers) w.fixture->screenshot("detecting");
        if (row.portOpens) QVERIFY2(w.releaseDetection(), row.name);
        QVERIFY2(w.fixture->waitForLink(), row.name);
        QVERIFY2(during.isEmpty(), qPrintable(during));
        const QString after = differs("after", row.after);
        QVERIFY2(after.isEmpty(), qPrintable(after));
        if (row.after.caption == connected.caption) {
            w.click();
            const QString disconnected = differs("disconnected", idle);
            QVERIFY2(disconnected.isEmpty(), qPrintable(disconnected));
        }
    }
}

void ConnectionTest::theOpenedPortServesTheRunWhateverTheBoxesSay() {
    SimulatedWindow w(2);
    const auto pointBoxesAtCom4 = [&w] {
        w.choose(4, "19200", 3);
        w.control<QComboBox>("ComboBox4")->setCurrentIndex(2);
    };
    w.choose(3, "9600", 2);
    QVERIFY(w.clickAndHoldDetection());
    const QString detecting = w.stateLabel->text();
    const bool boxesLocked = w.enabledBoxes() == 0;
    // Whatever the boxes come to say, the connection is the one begun.
    pointBoxesAtCom4();
    QVERIFY(w.releaseDetection());
    QCOMPARE(detecting, QString("Порт подключен"));
    QVERIFY(boxesLocked);
    QCOMPARE(w.stateLabel->text(), QString("Datecs MP-550T подключена"));
    QCOMPARE(w.fixture->window().RegisterNumber, 2);
    pointBoxesAtCom4();

    // Department 3 is refused until skipped, department 5 until retried:
    // both reopen the port, which must be COM3 at 9600 again.
    bool refuseFive = true;
    QStringList written;
    w.ecr->scriptReplies([&](QByteArrayView command) -> std::optional<QByteArray> {
        if (command.startsWith("W10;3;") || (refuseFive && command.startsWith("W10;5;")))
            return QByteArray("E2;");
        if (command.startsWith('W')) written << tabulon::text::fromCp1251(command);
        return std::nullopt;
    });
    int asked = 0;
    w.fixture->dialogs().onModal = [&](QDialog& dialog) {
        refuseFive = ++asked == 1;
        dialog.findChild<QPushButton*>(asked == 1 ? "Button1" : "Button3")->click();
        return dialog.result();
    };
    const int closesBefore = w.line->closes();
    w.control<QTabWidget>("PageControl1")->setCurrentIndex(3);
    w.control<QPushButton>("Button4")->click();
    QVERIFY(w.fixture->waitForLink());
    QCOMPARE(asked, 2);
    QCOMPARE(w.line->closes() - closesBefore, 2);
    QCOMPARE(w.line->device(), QString("COM3"));
    QCOMPARE(w.line->settings()->baudRate, 9600);
    QCOMPARE(written.size(), 19);
    QCOMPARE(written[3], QString("W10;5;;"));
    QCOMPARE(w.fixture->dialogs().messages().last().text,
             QString("Операция завершена: 1 зап. пропущено (записи 3)."));

    // "Отключить" lets go of the port that was opened.
    w.line->clearTranscript();
    w.click();
    QVERIFY(!w.line->isOpen());
    QCOMPARE(w.line->sent(), release88());
    QVERIFY(w.boxesEnabled());
}

QTEST_MAIN(ConnectionTest)
#include "connection_test.moc"
