#include "text/whole_number.h"

namespace tabulon::text {

std::optional<int> wholeNumber(QStringView text) {
    if (text.isEmpty() || text.size() > 9) return std::nullopt;
    int value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

}  // namespace tabulon::text
