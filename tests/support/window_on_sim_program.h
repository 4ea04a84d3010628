#pragma once

#include <QComboBox>
#include <QPushButton>

#include "support/sim_process.h"
#include "support/window_fixture.h"

namespace tabulon::testing {

// The window connected at 115200 baud through COM2, which its Tabulon.ini
// puts on the pseudo-terminal of a tabulon-sim of `model`: the end-to-end
// runs through a real line. modelBox: the index the window's model box is
// set to before it connects; -1 leaves the box as the window opens.
struct WindowOnSimProgram {
    explicit WindowOnSimProgram(const QString& model, int modelBox = -1)
        : ecr({QStringLiteral("--model"), model}),
          fixture("[Ports]\r\nCOM2=" + ecr.path().toLocal8Bit() + "\r\n") {
        if (!ecr.path().startsWith(u"/dev/")) return;
        fixture.control<QComboBox>("ComboBox1")->setCurrentIndex(1);
        fixture.control<QComboBox>("ComboBox2")->setCurrentText("115200");
        if (modelBox >= 0) {
            fixture.control<QComboBox>("ComboBox4")->setCurrentIndex(modelBox);
            fixture.control<QComboBox>("ComboBox4")->activated(modelBox);
        }
        fixture.control<QPushButton>("Button5")->click();
        connected = fixture.waitForLink() && fixture.window().Connected;
    }

    SimProcess ecr;
    WindowFixture fixture;
    bool connected = false;
};

}  // namespace tabulon::testing
