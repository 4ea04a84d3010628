#include "text/decimal_number.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <clocale>
#include <optional>
#include <string>

namespace tabulon::text {
namespace {

struct NumberCase {
    const char* text;
    const char* price;     // two decimals, or nullptr when the text is refused
    const char* quantity;  // three decimals
};

// The value is read into a float and the float is rounded as it stands, so
// 0.005 (a float just below it) gives 0.00, and 1234567.89 (held as
// 1234567.875) gives 1234567.88.
const NumberCase kCases[] = {
    {"12.5", "12.50", "12.500"},
    {"3", "3.00", "3.000"},
    {"-0.5", "-0.50", "-0.500"},
    {"0.125", "0.13", "0.125"},
    {"-0.125", "-0.13", "-0.125"},
    {"0.005", "0.00", "0.005"},
    {"1234567.89", "1234567.88", "1234567.875"},
    {"1e10", "10000000000.00", "10000000000.000"},
    {" 12.5", "12.50", "12.500"},
    {"+4", "4.00", "4.000"},
    {".5", "0.50", "0.500"},
    {"-.25", "-0.25", "-0.250"},
    {"2.5E-2", "0.03", "0.025"},
    {"0.015", "0.01", "0.015"},
    {"2.675", "2.67", "2.675"},
    {"-0.001", "0.00", "-0.001"},
    {"-0.0004", "0.00", "0.000"},
    {"16777217", "16777216.00", "16777216.000"},
    {"1e-50", "0.00", "0.000"},
    {"12,50", nullptr, nullptr},
    {"abc", nullptr, nullptr},
    {"", nullptr, nullptr},
    {" ", nullptr, nullptr},
    {".", nullptr, nullptr},
    {"1e", nullptr, nullptr},
    {"1 000", nullptr, nullptr},
    {"12.5.1", nullptr, nullptr},
    {"\t12.5", nullptr, nullptr},
    {"0x10", nullptr, nullptr},
    {"inf", nullptr, nullptr},
    {"nan", nullptr, nullptr},
    {"1e39", nullptr, nullptr},
    {"-4e38", nullptr, nullptr},
    {"\u0661\u0662", nullptr, nullptr},
};

void expectCases() {
    for (const NumberCase& c : kCases) {
        SCOPED_TRACE(c.text);
        const QString text = QString::fromUtf8(c.text);
        const std::optional<float> value = parseDecimalFloat(text);
        if (!c.price) {
            EXPECT_FALSE(value.has_value());
            continue;
        }
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(formatDecimalFloat(*value, 2), QString::fromLatin1(c.price));
        EXPECT_EQ(formatDecimalFloat(*value, 3), QString::fromLatin1(c.quantity));
    }
}

TEST(DecimalNumber, ReadsAndFormatsWithDot) {
    expectCases();
}

// A Russian or German desktop uses a comma; the program's numbers must not
// follow it, whether the machine has such a C library locale or not.
TEST(DecimalNumber, ReadsAndFormatsWithDotUnderCommaLocale) {
    const QLocale previousQt;
    const std::string previousC = std::setlocale(LC_ALL, nullptr);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    ASSERT_EQ(QLocale().decimalPoint(), QStringLiteral(","));
    for (const char* name : {"ru_RU.UTF-8", "de_DE.UTF-8", "ru_RU.CP1251"}) {
        if (std::setlocale(LC_ALL, name)) {
            EXPECT_STREQ(std::localeconv()->decimal_point, ",");
            break;
        }
    }
    expectCases();
    std::setlocale(LC_ALL, previousC.c_str());
    QLocale::setDefault(previousQt);
}

TEST(DecimalNumber, RefusalMessagesQuoteTheText) {
    EXPECT_EQ(invalidFloatMessage(u" 1,5 "),
              QStringLiteral("' 1,5 ' is not a valid floating point value"));
    EXPECT_EQ(invalidIntegerMessage(u"9 600"),
              QStringLiteral("'9 600' is not a valid integer value"));
}

TEST(DecimalNumber, LargestFloatIsWrittenInFull) {
    const std::optional<float> value = parseDecimalFloat(u"3.4028234e38");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(formatDecimalFloat(*value, 2),
              QStringLiteral("340282346638528859811704183484516925440.00"));
}

}  // namespace
}  // namespace tabulon::text
