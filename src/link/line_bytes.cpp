#include "link/line_bytes.h"

namespace tabulon::link {

QByteArray registerAddress(int registerNumber) {
    return QByteArray::number(registerNumber).rightJustified(2, '0');
}

QByteArray fillRun(int count) {
    return QByteArray(count, char(kFill));
}

QByteArray pollSequence(QByteArrayView address) {
    QByteArray bytes = fillRun(10);
    bytes.append(char(kSelect)).append(char(kSelect)).append(address);
    return bytes;
}

QByteArray selectSequence(QByteArrayView address) {
    return pollSequence(address) + fillRun(10);
}

QByteArray releaseSequence(int before, int after) {
    return fillRun(before) + QByteArray(2, char(kRelease)) + fillRun(after);
}

QByteArray lineAcknowledgement() {
    return fillRun(3) + char(kAck) + fillRun(3);
}

}  // namespace tabulon::link
