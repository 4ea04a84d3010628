#pragma once

// Files and commands of the in-process command runs, as the tests compare them.

#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <QStringList>

#include "sim/simulated_link.h"
#include "support/cp1251.h"
#include "support/file_bytes.h"
#include "text/cp1251.h"

namespace tabulon::cli::testing {

using tabulon::testing::cp1251, tabulon::testing::cp1251Lines, tabulon::testing::readFile,
    tabulon::testing::writeFile;

inline QStringList commandTexts(const sim::SimulatedLink& sim) {
    QStringList texts;
    for (const QByteArray& command : sim.ecr->commands()) texts << text::fromCp1251(command);
    return texts;
}

// FF×n DC3 DC3 FF×m
inline QByteArray release(int before, int after) {
    return QByteArray(before, '\xFF') + "\x13\x13" + QByteArray(after, '\xFF');
}

}  // namespace tabulon::cli::testing
