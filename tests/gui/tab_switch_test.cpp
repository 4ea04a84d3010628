#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "sim/sim_register.h"
#include "sim/simulated_link.h"
#include "support/window_fixture.h"

using tabulon::testing::WindowFixture;

namespace {

// Switches tabs as the user does: a click on the tab.
void clickTab(WindowFixture& f, int tab) {
    QTabBar* bar = f.control<QTabWidget>("PageControl1")->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
    QCOMPARE(f.window().activeTab(), tab);
}

// On/off of the controls the rule sets, as a string of 1 and 0 in the order
// Button16, Button8, Button4, Button9, Button15, GroupBox2.
QString ruleStates(WindowFixture& f) {
    QString states;
    for (const char* name : {"Button16", "Button8", "Button4", "Button9", "Button15"})
        states += f.control<QPushButton>(name)->isEnabled() ? '1' : '0';
    states += f.control<QGroupBox>("GroupBox2")->isEnabled() ? '1' : '0';
    return states;
}

}  // namespace

class TabSwitchTest : public QObject {
    Q_OBJECT
private slots:
    void buttonsFollowTheTab_data();
    void buttonsFollowTheTab();
    void leavingTheGoodsTabUnticksTheInterval();
    void logoButtonsFollowLogoPresent();
    void aRunningTransferKeepsTheTransferButtonsOff();
    void aTabShownByTheProgramLeavesTheButtonsAlone();
};

void TabSwitchTest::buttonsFollowTheTab_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("disconnected");
    QTest::addColumn<QString>("connected");
    QTest::newRow("Товары") << 0 << "100011"
                            << "111111";
    QTest::newRow("Операторы") << 1 << "100000"
                               << "111100";
    QTest::newRow("Загол. и рекл. текст") << 4 << "100000"
                                          << "111100";
    QTest::newRow("Параметры кассы") << 5 << "000000"
                                     << "001100";
    QTest::newRow("Служебная") << 7 << "000000"
                               << "001100";
    QTest::newRow("Логотип") << 8 << "000000"
                             << "000000";
    QTest::newRow("Отчеты") << 9 << "000000"
                            << "001100";
}

void TabSwitchTest::buttonsFollowTheTab() {
    QFETCH(int, tab);
    QFETCH(QString, disconnected);
    QFETCH(QString, connected);
    WindowFixture f;
    // From another tab, so that every state is really set by the switch.
    clickTab(f, tab == 6 ? 2 : 6);
    clickTab(f, tab);
    QCOMPARE(ruleStates(f), disconnected);
    f.window().Connected = true;
    clickTab(f, tab == 6 ? 2 : 6);
    clickTab(f, tab);
    QCOMPARE(ruleStates(f), connected);
}

void TabSwitchTest::leavingTheGoodsTabUnticksTheInterval() {
    WindowFixture f;
    auto* use = f.control<QCheckBox>("CheckBox1");
    use->setChecked(true);
    clickTab(f, 3);
    QVERIFY(!use->isChecked());
    QVERIFY(!use->isEnabled());
    clickTab(f, 0);
    QVERIFY(f.control<QGroupBox>("GroupBox2")->isEnabled());
    QVERIFY(use->isEnabled());
    QVERIFY(!use->isChecked());
}

void TabSwitchTest::logoButtonsFollowLogoPresent() {
    WindowFixture f;
    auto* load = f.control<QPushButton>("Button7");
    auto* read = f.control<QPushButton>("Button12");
    auto* save = f.control<QPushButton>("Button11");
    auto* write = f.control<QPushButton>("Button13");
    load->setEnabled(false);
    read->setEnabled(false);
    clickTab(f, 8);
    QVERIFY(load->isEnabled());
    QVERIFY(read->isEnabled());
    QVERIFY(!save->isEnabled());
    QVERIFY(!write->isEnabled());

    f.window().LogoPresent = true;
    clickTab(f, 9);
    QVERIFY(!save->isEnabled());  // only the logo tab looks at LogoPresent
    clickTab(f, 8);
    QVERIFY(save->isEnabled());
    QVERIFY(write->isEnabled());
    f.window().LogoPresent = false;
    clickTab(f, 0);
    QVERIFY(save->isEnabled());  // left as the logo tab set them
    clickTab(f, 8);
    QVERIFY(!save->isEnabled());
    QVERIFY(!write->isEnabled());
}

void TabSwitchTest::aRunningTransferKeepsTheTransferButtonsOff() {
    // A write of the operators that the register refuses at its first
    // record: the run waits in the transfer error dialog while the user
    // switches tabs.
    auto simulated = tabulon::sim::makeSimulatedLink(tabulon::sim::Model::DatecsMp550T);
    simulated.ecr->scriptReplies([](QByteArrayView command) -> std::optional<QByteArray> {
        if (command.startsWith("W3;1;")) return QByteArray("E2;");
        return std::nullopt;
    });
    WindowFixture f(QByteArray(), std::move(simulated.link));
    f.control<QPushButton>("Button5")->click();
    QVERIFY(f.waitForLink());
    QVERIFY(f.window().Connected);
    clickTab(f, 1);

    // "Стоп" and the three transfer buttons, as 1 and 0, on each tab.
    QStringList shown;
    bool emptyingOnParameters = true, emptyingOnPayments = false;
    f.dialogs().onModal = [&](QDialog& dialog) {
        for (int tab : {1, 0, 5}) {
            clickTab(f, tab);
            QString states;
            for (const char* name : {"Button6", "Button4", "Button9", "Button8"})
                states += f.control<QPushButton>(name)->isEnabled() ? '1' : '0';
            shown << states;
        }
        emptyingOnParameters = f.control<QPushButton>("Button16")->isEnabled();
        clickTab(f, 2);
        emptyingOnPayments = f.control<QPushButton>("Button16")->isEnabled();
        dialog.findChild<QPushButton*>("Button2")->click();  // "Завершить операцию"
        return dialog.result();
    };
    f.control<QPushButton>("Button4")->click();
    QVERIFY(f.waitForLink());
    QCOMPARE(shown, (QStringList{"1000", "1000", "1000"}));
    QVERIFY(!emptyingOnParameters);
    QVERIFY(emptyingOnPayments);
    QCOMPARE(f.dialogs().messages().last().text, QString("Операция прервана"));
}

void TabSwitchTest::aTabShownByTheProgramLeavesTheButtonsAlone() {
    WindowFixture f;
    clickTab(f, 5);
    const QString onTab5 = ruleStates(f);
    QCOMPARE(onTab5, QString("000000"));
    f.window().showTab(0);
    QCOMPARE(f.window().activeTab(), 0);
    QCOMPARE(ruleStates(f), onTab5);
}

QTEST_MAIN(TabSwitchTest)
#include "tab_switch_test.moc"
