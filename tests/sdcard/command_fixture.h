#pragma once

#include <QDir>

#include "catalogue/grid_model.h"
#include "sdcard/sdcard_commands.h"
#include "sdcard_test_support.h"
#include "support/command_fixture.h"

namespace tabulon::sdcard::testing {

// Scripted dialogs, a progress bar that counts, and a fresh working
// directory for the SD-card commands.
class SdCardCommandTest : public tabulon::testing::CommandFixture {
protected:
    Progress progress() {
        return {[this] {
                    value_ = 0;
                    ++resets_;
                },
                [this] {
                    ++value_;
                    ++steps_;
                },
                [this](int maximum) { maximum_ = maximum; }};
    }

    QStringList filesHere() const { return QDir(directory_.path()).entryList(QDir::Files); }

    int value_ = -1;  // -1: never reset
    int resets_ = 0;
    int steps_ = 0;
    int maximum_ = 100;
};

}  // namespace tabulon::sdcard::testing
