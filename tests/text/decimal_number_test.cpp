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

// The digits typed are the digits sent: only those past the field's decimals
// are rounded, a half away from zero.
const NumberCase kCases[] = {
    {"12.5", "12.50", "12.500"},
    {"3", "3.00", "3.000"},
    {"-0.5", "-0.50", "-0.500"},
    {"0.125", "0.13", "0.125"},
    {"-0.125", "-0.13", "-0.125"},
    {"0.005", "0.01", "0.005"},
    {"1234567.89", "1234567.89", "1234567.890"},
    {"199999.99", "199999.99", "199999.990"},
    {"131072.01", "131072.01", "131072.010"},
    {"16777217", "16777217.00", "16777217.000"},
    {"1.005", "1.01", "1.005"},
    {"-0.004", "0.00", "-0.004"},
    {"9.995", "10.00", "9.995"},
    {"-99.9995", "-100.00", "-100.000"},
    {"1e10", "10000000000.00", "10000000000.000"},
    {" 12.5", "12.50", "12.500"},
    {"+4", "4.00", "4.000"},
    {".5", "0.50", "0.500"},
    {"-.25", "-0.25", "-0.250"},
    {"5.", "5.00", "5.000"},
    {"007.50", "7.50", "7.500"},
    {"2.5E-2", "0.03", "0.025"},
    {"125e-3", "0.13", "0.125"},
    {"0.015", "0.02", "0.015"},
    {"2.675", "2.68", "2.675"},
    {"-0.001", "0.00", "-0.001"},
    {"-0.0004", "0.00", "0.000"},
    {"-0", "0.00", "0.000"},
    {"1e-50", "0.00", "0.000"},
    {"1e-999999999999", "0.00", "0.000"},
    {"3.4028234e38", "340282340000000000000000000000000000000.00",
     "340282340000000000000000000000000000000.000"},
    {"-340282346638528859811704183484516925440", "-340282346638528859811704183484516925440.00",
     "-340282346638528859811704183484516925440.000"},
    {"340282346638528859811704183484516925440.001", nullptr, nullptr},
    {"1e999999999999", nullptr, nullptr},
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
        EXPECT_EQ(formatDecimal(text, 2),
                  c.price ? std::optional(QString::fromLatin1(c.price)) : std::nullopt);
        EXPECT_EQ(formatDecimal(text, 3),
                  c.quantity ? std::optional(QString::fromLatin1(c.quantity)) : std::nullopt);
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

}  // namespace
}  // namespace tabulon::text
