#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QSaveFile>
#include <QTemporaryDir>
#include <functional>

#include "catalogue/grid_model.h"
#include "sdcard/sdcard_commands.h"
#include "sdcard_test_support.h"
#include "support/scripted_dialogs.h"

namespace tabulon::sdcard::testing {

// A save file whose device gives out after a number of bytes, as a full card
// does.
class FailingSaveFile : public QSaveFile {
public:
    FailingSaveFile(const QString& name, qint64 capacity) : QSaveFile(name), capacity_(capacity) {}

protected:
    qint64 writeData(const char* data, qint64 length) override {
        if (written_ + length > capacity_) return -1;
        written_ += length;
        return QSaveFile::writeData(data, length);
    }

private:
    qint64 capacity_;
    qint64 written_ = 0;
};

// Scripted dialogs, a progress bar that counts, and a fresh working
// directory for the SD-card commands.
class SdCardCommandTest : public ::testing::Test {
protected:
    SdCardCommandTest() : previousDirectory_(QDir::currentPath()) {
        QDir::setCurrent(directory_.path());
    }
    ~SdCardCommandTest() override { QDir::setCurrent(previousDirectory_); }

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

    QString path(const QString& name) const { return directory_.filePath(name); }
    QStringList filesHere() const { return QDir(directory_.path()).entryList(QDir::Files); }

    // The one message box shown, checked for what all SD-card boxes share.
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
    int value_ = -1;  // -1: never reset
    int resets_ = 0;
    int steps_ = 0;
    int maximum_ = 100;
};

}  // namespace tabulon::sdcard::testing
