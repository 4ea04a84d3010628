#include "app/command_states.h"

#include <QTest>

using tabulon::app::commandStates;
using tabulon::app::CommandStates;
using tabulon::app::LinkJob;
using tabulon::app::WindowState;

Q_DECLARE_METATYPE(LinkJob)

namespace {

// The enabled commands by control name, in a fixed order; "Button11/13 kept"
// where the rule leaves the logo's save and write as they are.
QString enabledCommands(const CommandStates& on) {
    const std::pair<const char*, bool> controls[] = {
        {"Button4", on.write},
        {"Button9", on.read},
        {"ButtonCompare", on.compare},
        {"Button8", on.clearRegister},
        {"Button6", on.stop},
        {"Button2/3", on.openAndSave},
        {"Button5", on.connect},
        {"boxes", on.connectionBoxes},
        {"Button16", on.clearGrid},
        {"GroupBox2/Button15", on.goodsOnly},
        {"Button7/12", on.logoLoadAndRead},
        {"Button19", on.reportsRead},
    };
    QStringList names;
    for (const auto& [name, enabled] : controls)
        if (enabled) names << name;
    if (!on.logoSaveAndWrite)
        names << "Button11/13 kept";
    else if (*on.logoSaveAndWrite)
        names << "Button11/13";
    return names.join(' ');
}

}  // namespace

class CommandStatesTest : public QObject {
    Q_OBJECT
private slots:
    void eachStateEnablesItsCommands_data();
    void eachStateEnablesItsCommands();
    void theEndOfLogoOrReportWorkSetsTheLogoCommands_data();
    void theEndOfLogoOrReportWorkSetsTheLogoCommands();
};

void CommandStatesTest::eachStateEnablesItsCommands_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<LinkJob>("job");
    QTest::addColumn<bool>("logoPresent");
    QTest::addColumn<QString>("enabled");

    const bool on = true, off = false;
    const LinkJob idle = LinkJob::None;
    // Not connected: nothing goes to the register but the logo and reports.
    QTest::newRow("goods") << 0 << off << idle << off
                           << "Button2/3 Button5 boxes Button16 GroupBox2/Button15 Button7/12 "
                              "Button19 Button11/13 kept";
    QTest::newRow("operators") << 1 << off << idle << off
                               << "Button2/3 Button5 boxes Button16 Button7/12 Button19 "
                                  "Button11/13 kept";
    QTest::newRow("cash register parameters")
        << 5 << off << idle << off
        << "Button2/3 Button5 boxes Button7/12 Button19 Button11/13 kept";
    QTest::newRow("logo, none yet")
        << 8 << off << idle << off << "Button5 boxes Button7/12 Button19";
    QTest::newRow("logo, loaded") << 8 << off << idle << on
                                  << "Button5 boxes Button7/12 Button19 Button11/13";
    QTest::newRow("reports") << 9 << off << idle << on
                             << "Button5 boxes Button7/12 Button19 Button11/13 kept";

    // Connected: the boxes are locked, the transfers follow the tab.
    QTest::newRow("connected, goods")
        << 0 << on << idle << off
        << "Button4 Button9 ButtonCompare Button8 Button2/3 Button5 Button16 GroupBox2/Button15 "
           "Button7/12 Button19 Button11/13 kept";
    QTest::newRow("connected, header text")
        << 4 << on << idle << off
        << "Button4 Button9 ButtonCompare Button8 Button2/3 Button5 Button16 Button7/12 Button19 "
           "Button11/13 kept";
    QTest::newRow("connected, service parameters")
        << 7 << on << idle << off
        << "Button4 Button9 Button2/3 Button5 Button7/12 Button19 Button11/13 kept";
    QTest::newRow("connected, logo")
        << 8 << on << idle << on << "Button5 Button7/12 Button19 Button11/13";
    QTest::newRow("connected, reports")
        << 9 << on << idle << off << "Button4 Button9 Button5 Button7/12 Button19 Button11/13 kept";

    // While the port opens and the register is looked for.
    QTest::newRow("connecting") << 0 << off << LinkJob::Connecting << off
                                << "Button2/3 Button16 GroupBox2/Button15 Button7/12 Button19 "
                                   "Button11/13 kept";

    // A table run: only "Стоп" and emptying a grid act on the tables.
    QTest::newRow("run, departments") << 3 << on << LinkJob::TableRun << off
                                      << "Button6 Button16 Button7/12 Button19 Button11/13 kept";
    QTest::newRow("run, turned to goods")
        << 0 << on << LinkJob::TableRun << off
        << "Button6 Button16 GroupBox2/Button15 Button7/12 Button19 Button11/13 kept";
    QTest::newRow("run, turned to receipt parameters")
        << 6 << on << LinkJob::TableRun << off << "Button6 Button7/12 Button19 Button11/13 kept";
    QTest::newRow("run, turned to logo")
        << 8 << on << LinkJob::TableRun << on << "Button6 Button7/12 Button19 Button11/13";

    // A parameter record on its way: no "Стоп", files stay usable.
    QTest::newRow("parameter transfer") << 6 << on << LinkJob::ParameterTransfer << off
                                        << "Button2/3 Button7/12 Button19 Button11/13 kept";
    QTest::newRow("parameter transfer, turned to logo")
        << 8 << on << LinkJob::ParameterTransfer << on << "Button7/12 Button19 Button11/13";

    // A logo transfer or the report download holds every register command.
    QTest::newRow("logo write") << 8 << on << LinkJob::LogoTransfer << on << "";
    QTest::newRow("download, not connected")
        << 9 << off << LinkJob::ReportDownload << off << "Button6 boxes";
    QTest::newRow("logo read, turned to goods") << 0 << off << LinkJob::LogoTransfer << off
                                                << "Button2/3 boxes Button16 GroupBox2/Button15";
}

void CommandStatesTest::eachStateEnablesItsCommands() {
    QFETCH(int, tab);
    QFETCH(bool, connected);
    QFETCH(LinkJob, job);
    QFETCH(bool, logoPresent);
    QFETCH(QString, enabled);
    QCOMPARE(enabledCommands(commandStates(WindowState{tab, connected, job, logoPresent})),
             enabled);
}

void CommandStatesTest::theEndOfLogoOrReportWorkSetsTheLogoCommands_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<bool>("logoPresent");
    QTest::addColumn<QString>("enabled");

    const bool on = true, off = false;
    QTest::newRow("download ended, a logo loaded")
        << 9 << on << on << "Button4 Button9 Button5 Button7/12 Button19 Button11/13";
    QTest::newRow("download ended, no logo")
        << 9 << off << off << "Button5 boxes Button7/12 Button19";
    QTest::newRow("logo read ended on goods")
        << 0 << off << on
        << "Button2/3 Button5 boxes Button16 GroupBox2/Button15 Button7/12 Button19 Button11/13";
    QTest::newRow("logo write ended on the logo tab")
        << 8 << on << on << "Button5 Button7/12 Button19 Button11/13";
}

void CommandStatesTest::theEndOfLogoOrReportWorkSetsTheLogoCommands() {
    QFETCH(int, tab);
    QFETCH(bool, connected);
    QFETCH(bool, logoPresent);
    QFETCH(QString, enabled);
    const WindowState ended{tab, connected, LinkJob::None, logoPresent, true};
    QCOMPARE(enabledCommands(commandStates(ended)), enabled);
}

QTEST_APPLESS_MAIN(CommandStatesTest)
#include "command_states_test.moc"
