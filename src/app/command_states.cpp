#include "app/command_states.h"

#include "catalogue/table_kind.h"

namespace tabulon::app {

CommandStates commandStates(const WindowState& state) {
    const bool linkFree = state.job == LinkJob::None;
    // No second transfer may start inside a running one, whatever tab the
    // user turns to meanwhile.
    const bool transfers = state.connected && linkFree;
    const bool pageWork =
        state.job == LinkJob::LogoTransfer || state.job == LinkJob::ReportDownload;

    CommandStates on;
    // The logo tab has commands of its own for the register.
    on.write = transfers && state.tab != kLogoTab;
    on.read = on.write;
    // Only a grid has rows to hold against the register's records.
    on.compare = on.read && isGridTab(state.tab);
    on.clearRegister = transfers && isGridTab(state.tab);
    // A logo transfer is short and has no stop of its own.
    on.stop = state.job == LinkJob::TableRun || state.job == LinkJob::ReportDownload;
    // The logo and the reports have files of their own and buttons for them.
    on.openAndSave =
        state.job != LinkJob::TableRun && state.tab != kLogoTab && state.tab != kReportsTab;
    // The port belongs to the job in hand until it ends.
    on.connect = linkFree;
    on.connectionBoxes = !state.connected && state.job != LinkJob::Connecting;
    on.clearGrid = isGridTab(state.tab);
    on.writeRows = isGridTab(state.tab);
    on.goodsOnly = state.tab == 0;
    // The logo and report commands refuse to start while any job holds the
    // link; they are shown off only while one of their own runs.
    on.logoLoadAndRead = !pageWork;
    on.reportsRead = !pageWork;
    // Only the logo tab and the end of the logo or report work look at
    // LogoPresent: otherwise saving and writing the logo keep the state they
    // were last given.
    if (pageWork)
        on.logoSaveAndWrite = false;
    else if (state.tab == kLogoTab || state.pageWorkEnded)
        on.logoSaveAndWrite = state.logoPresent;
    return on;
}

}  // namespace tabulon::app
