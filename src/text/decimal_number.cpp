#include "text/decimal_number.h"

#include <QtGlobal>
#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace tabulon::text {

namespace {

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The number as from_chars wants it (no "+", no blanks), with a rough decimal
// magnitude so that an out-of-range result can be told apart: underflow reads
// as zero, overflow is refused.
struct NumberText {
    std::string ascii;
    bool negative = false;
    long magnitude = 0;  // position of the first significant digit, 10^magnitude
};

std::optional<NumberText> scanNumber(QStringView text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ') ++i;

    NumberText number;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        number.negative = text[i] == u'-';
        if (number.negative) number.ascii += '-';
        ++i;
    }

    long integerDigits = 0;  // counted after leading zeros
    long leadingFractionZeros = 0;
    bool significant = false;
    int digits = 0;
    for (; i < n && isAsciiDigit(text[i]); ++i, ++digits) {
        if (text[i] != u'0') significant = true;
        if (significant) ++integerDigits;
        number.ascii += static_cast<char>(text[i].unicode());
    }
    if (i < n && text[i] == u'.') {
        number.ascii += '.';
        for (++i; i < n && isAsciiDigit(text[i]); ++i, ++digits) {
            if (text[i] != u'0') significant = true;
            if (!significant) ++leadingFractionZeros;
            number.ascii += static_cast<char>(text[i].unicode());
        }
    }
    if (digits == 0) return std::nullopt;

    long exponent = 0;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        number.ascii += 'e';
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == u'+' || text[i] == u'-')) {
            negativeExponent = text[i] == u'-';
            if (negativeExponent) number.ascii += '-';
            ++i;
        }
        int exponentDigits = 0;
        for (; i < n && isAsciiDigit(text[i]); ++i, ++exponentDigits) {
            number.ascii += static_cast<char>(text[i].unicode());
            exponent = std::min(exponent * 10 + (text[i].unicode() - u'0'), 1'000'000L);
        }
        if (exponentDigits == 0) return std::nullopt;
        if (negativeExponent) exponent = -exponent;
    }

    while (i < n && text[i] == u' ') ++i;
    if (i != n) return std::nullopt;

    number.magnitude = (integerDigits > 0 ? integerDigits : -leadingFractionZeros) + exponent;
    return number;
}

}  // namespace

std::optional<float> parseDecimalFloat(QStringView text) {
    const std::optional<NumberText> number = scanNumber(text);
    if (!number) return std::nullopt;

    const char* first = number->ascii.data();
    const char* last = first + number->ascii.size();
    float value = 0.0f;
    const std::from_chars_result result = std::from_chars(first, last, value);
    if (result.ec == std::errc::result_out_of_range) {
        if (number->magnitude > 0) return std::nullopt;
        return number->negative ? -0.0f : 0.0f;
    }
    if (result.ec != std::errc() || result.ptr != last) return std::nullopt;
    return value;
}

QString invalidFloatMessage(QStringView text) {
    return QStringLiteral("'%1' is not a valid floating point value").arg(text);
}

QString invalidIntegerMessage(QStringView text) {
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

QString formatDecimalFloat(float value, int decimals) {
    Q_ASSERT(decimals >= 0 && decimals <= 9);
    Q_ASSERT(std::isfinite(value));
    static constexpr std::array<double, 10> kScale{1e0, 1e1, 1e2, 1e3, 1e4,
                                                   1e5, 1e6, 1e7, 1e8, 1e9};
    // A float carries 24 significant bits and 10^9 fewer than 30, so the
    // product is exact in a double: the rounding below sees the value the float
    // really holds, not a decimal approximation of it. std::round breaks ties
    // away from zero.
    const double scaled = std::round(std::fabs(static_cast<double>(value)) * kScale[decimals]);

    std::array<char, 64> buffer{};
    const std::to_chars_result result = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                                      scaled, std::chars_format::fixed, 0);
    QString digits = QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
    if (digits.size() <= decimals) digits.prepend(QString(decimals + 1 - digits.size(), u'0'));
    if (decimals > 0) digits.insert(digits.size() - decimals, u'.');
    if (value < 0 && scaled != 0.0) digits.prepend(u'-');
    return digits;
}

}  // namespace tabulon::text
