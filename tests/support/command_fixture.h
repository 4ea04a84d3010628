#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "support/scripted_dialogs.h"

namespace tabulon::testing {

// What the window's file commands run in: scripted dialogs and a fresh
// current directory, given back after the test.
class CommandFixture : public ::testing::Test {
protected:
    CommandFixture() : previousDirectory_(QDir::currentPath()) {
        QDir::setCurrent(directory_.path());
    }
    ~CommandFixture() override { QDir::setCurrent(previousDirectory_); }

    QString path(const QString& name) const { return directory_.filePath(name); }

    // The one message box shown, checked for the box the commands always use.
    ScriptedDialogs::Shown onlyMessage() const {
        const auto boxes = dialogs_.messages();
        EXPECT_EQ(boxes.size(), 1);
        if (boxes.isEmpty()) return {};
        EXPECT_EQ(boxes[0].icon, MessageIcon::None);
        return boxes[0];
    }

    QTemporaryDir directory_;
    QString previousDirectory_;
    ScriptedDialogs dialogs_;
};

}  // namespace tabulon::testing
