#pragma once

#include <QString>

#include "app/command_states.h"
#include "catalogue/model.h"
#include "transfer/run_parts.h"

namespace tabulon {
class Dialogs;
}

namespace tabulon::app {

class RegisterSession;

// The main window as its pages, its table runs and its connection group see
// it: the dialogs, the register link and the turn on it, and the few parts of
// the window's state that their commands read or change.
class PageHost {
public:
    virtual Dialogs& dialogs() const = 0;
    virtual RegisterSession& session() const = 0;

    // False while a job holds the link: a page's register command then does
    // nothing.
    virtual bool linkFree() const = 0;
    // The job holds the link from here until it ends; the window's other
    // register commands are off meanwhile.
    virtual void beginJob(LinkJob job) = 0;
    // A table run, a parameter transfer or a connect has ended.
    virtual void endJob() = 0;
    // A page's job (a logo transfer or the report download) has ended.
    virtual void endPageWork() = 0;
    // The register was let go outside a job: the commands follow.
    virtual void connectionChanged() = 0;

    // The connected register and the port a failed record reopens.
    virtual transfer::Connection linkConnection() const = 0;
    virtual Model selectedModel() const = 0;
    virtual int activeTab() const = 0;
    // The text of the register-number box.
    virtual QString chosenRegisterText() const = 0;
    // A logo is in the logo box now: loaded, or read from the register (also
    // in part).
    virtual void logoPresent() = 0;

protected:
    ~PageHost() = default;
};

}  // namespace tabulon::app
