#include "logo/run_length_end.h"

#include <cstdint>

namespace tabulon::logo {

QByteArray endAfterWholeCodes(const QByteArray& file, const BmpLayout& layout) {
    const bool fourBits = layout.compression == BmpLayout::kRle4;
    if (!fourBits && layout.compression != BmpLayout::kRle8) return file;
    const QByteArray endOfPicture("\0\1", 2);
    const qint64 end = file.size();
    const auto at = [&](qint64 i) { return std::uint8_t(file[i]); };
    qint64 code = layout.pixelsAt;
    while (code + 2 <= end) {
        const int first = at(code), second = at(code + 1);
        qint64 length = 2;
        if (first == 0 && second == 1) return file.left(code + 2);
        if (first == 0 && second == 2) length = 4;
        if (first == 0 && second > 2) {
            // An absolute run: its pixels, then a byte of padding when they
            // take an odd number of bytes.
            const qint64 data = fourBits ? (second + 1) / 2 : second;
            length = 2 + (data + 1) / 2 * 2;
            if (code + length > end) {
                QByteArray ended = file.left(code);
                const qint64 held = qMin(data, end - code - 2);
                for (qint64 i = 0; i < held; ++i) {
                    const std::uint8_t pixels = at(code + 2 + i);
                    ended += QByteArray("\1", 1) + char(pixels);
                    if (fourBits && 2 * i + 1 < second)
                        ended += QByteArray("\1", 1) + char(pixels << 4);
                }
                return ended + endOfPicture;
            }
        }
        if (code + length > end) break;
        code += length;
    }
    return file.left(code) + endOfPicture;
}

}  // namespace tabulon::logo
