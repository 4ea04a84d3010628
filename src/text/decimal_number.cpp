#include "text/decimal_number.h"

#include <QtGlobal>
#include <algorithm>
#include <string>
#include <string_view>

namespace tabulon::text {

namespace {

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The largest 32-bit float, written out: the bound of what a price or
// quantity may be.
constexpr std::string_view kLargest = "340282346638528859811704183484516925440";

// A number as typed, taken apart: its value is 0.digits × 10^point, the sign
// aside. `digits` has no leading zero, so it is empty for zero.
struct DecimalText {
    std::string digits;
    long long point = 0;
    bool negative = false;
};

std::optional<DecimalText> scanNumber(QStringView text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ') ++i;

    DecimalText number;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        number.negative = text[i] == u'-';
        ++i;
    }

    qsizetype digits = 0;
    for (; i < n && isAsciiDigit(text[i]); ++i, ++digits) {
        number.digits += char(text[i].unicode());
        ++number.point;
    }
    if (i < n && text[i] == u'.') {
        for (++i; i < n && isAsciiDigit(text[i]); ++i, ++digits)
            number.digits += char(text[i].unicode());
    }
    if (digits == 0) return std::nullopt;

    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == u'+' || text[i] == u'-')) {
            negativeExponent = text[i] == u'-';
            ++i;
        }
        // Held well past any length a cell has, so a huge exponent still
        // tells "far too large" from "far too small".
        long long exponent = 0;
        int exponentDigits = 0;
        for (; i < n && isAsciiDigit(text[i]); ++i, ++exponentDigits)
            exponent = std::min(exponent * 10 + (text[i].unicode() - u'0'), 1'000'000'000LL);
        if (exponentDigits == 0) return std::nullopt;
        number.point += negativeExponent ? -exponent : exponent;
    }

    while (i < n && text[i] == u' ') ++i;
    if (i != n) return std::nullopt;

    const std::size_t zeros = std::min(number.digits.find_first_not_of('0'), number.digits.size());
    number.digits.erase(0, zeros);
    number.point -= qsizetype(zeros);
    if (number.digits.empty()) number.point = 0;
    return number;
}

bool aboveLargest(const DecimalText& number) {
    if (number.digits.empty()) return false;
    const auto length = static_cast<long long>(kLargest.size());
    if (number.point != length) return number.point > length;
    std::string head = number.digits.substr(0, kLargest.size());
    head.resize(kLargest.size(), '0');
    if (head != kLargest) return head > kLargest;
    return number.digits.find_first_not_of('0', kLargest.size()) != std::string::npos;
}

// Adds one to a string of decimal digits.
void increment(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

}  // namespace

std::optional<QString> formatDecimal(QStringView text, int decimals) {
    Q_ASSERT(decimals >= 0 && decimals <= 9);
    const std::optional<DecimalText> number = scanNumber(text);
    if (!number || aboveLargest(*number)) return std::nullopt;

    // The value times 10^decimals: its whole part, and the digit after it,
    // which decides the rounding.
    const std::string& digits = number->digits;
    const long long whole = number->point + decimals;
    std::string scaled;
    char next = '0';
    if (whole >= 0) {
        const auto kept = static_cast<std::size_t>(whole);
        scaled = digits.substr(0, kept);
        scaled.resize(kept, '0');
        if (kept < digits.size()) next = digits[kept];
    }
    if (next >= '5') increment(scaled);
    const bool zero = scaled.find_first_not_of('0') == std::string::npos;

    const auto width = static_cast<std::size_t>(decimals) + 1;
    if (scaled.size() < width) scaled.insert(0, width - scaled.size(), '0');
    if (decimals > 0) scaled.insert(scaled.size() - std::size_t(decimals), 1, '.');
    if (number->negative && !zero) scaled.insert(0, 1, '-');
    return QString::fromLatin1(scaled.data(), qsizetype(scaled.size()));
}

QString invalidFloatMessage(QStringView text) {
    return QStringLiteral("'%1' is not a valid floating point value").arg(text);
}

QString invalidIntegerMessage(QStringView text) {
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

}  // namespace tabulon::text
