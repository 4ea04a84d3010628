#pragma once

#include <QByteArray>
#include <QList>
#include <atomic>
#include <cstdint>
#include <functional>

namespace tabulon::link {
class RegisterLink;
}

namespace tabulon::logo {

// How a logo transfer ended. Unlike a table run there is no retry and no
// question: the first record that fails ends it.
struct LogoTransferEnd {
    enum class How { Complete, Failed, Cancelled };
    How how = How::Complete;
    int record = 0;      // the record that failed
    int linkResult = 0;  // what the link said of it
};

// Writes record r = 1, 2, … of table 136 from records[r - 1], every one of
// them, whatever their number. `beforeRecord` is told each record before its
// exchange; `cancelled` is looked at between two records.
LogoTransferEnd writeLogo(link::RegisterLink& link, int registerNumber,
                          const QList<QByteArray>& records,
                          const std::function<void(int record)>& beforeRecord,
                          const std::atomic<bool>& cancelled);

// Reads records 1 to 200 of table 136 and hands each row's byte values to
// `onRow` (row = record - 1) as they come.
LogoTransferEnd readLogo(
    link::RegisterLink& link, int registerNumber,
    const std::function<void(int record)>& beforeRecord,
    const std::function<void(int row, const QList<std::uint8_t>& values)>& onRow,
    const std::atomic<bool>& cancelled);

}  // namespace tabulon::logo
