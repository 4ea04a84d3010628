#include "logo/logo_transfer.h"

#include "link/register_link.h"
#include "logo/dot_row.h"

namespace tabulon::logo {

LogoTransferEnd writeLogo(link::RegisterLink& link, int registerNumber,
                          const QList<QByteArray>& records,
                          const std::function<void(int record)>& beforeRecord,
                          const std::atomic<bool>& cancelled) {
    for (int record = 1; record <= records.size(); ++record) {
        if (cancelled) return {LogoTransferEnd::How::Cancelled, record, 0};
        if (beforeRecord) beforeRecord(record);
        const int result =
            link.WriteRecord(registerNumber, kLogoTable, record, records[record - 1]);
        if (result < 0) return {LogoTransferEnd::How::Failed, record, result};
    }
    return {};
}

LogoTransferEnd readLogo(
    link::RegisterLink& link, int registerNumber,
    const std::function<void(int record)>& beforeRecord,
    const std::function<void(int row, const QList<std::uint8_t>& values)>& onRow,
    const std::atomic<bool>& cancelled) {
    for (int record = 1; record <= kLogoRows; ++record) {
        if (cancelled) return {LogoTransferEnd::How::Cancelled, record, 0};
        if (beforeRecord) beforeRecord(record);
        QByteArray reply;
        const int result = link.ReadRecord(registerNumber, kLogoTable, record, reply);
        if (result < 0) return {LogoTransferEnd::How::Failed, record, result};
        if (onRow) onRow(record - 1, replyValues(reply));
    }
    return {};
}

}  // namespace tabulon::logo
