#include "text/decimal_number.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <clocale>
#include <locale>
#include <optional>
#include <string>

namespace tabulon::text {
namespace {

// Runs a test with the machine set to a comma decimal separator, as a Russian
// or German desktop is: the program's numbers must not follow it.
class CommaLocale : public ::testing::Test {
protected:
    void SetUp() override {
        previousQt_ = QLocale();
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        previousC_ = std::setlocale(LC_ALL, nullptr);
        previousCpp_ = std::locale();
        for (const char* name : {"ru_RU.UTF-8", "de_DE.UTF-8", "ru_RU.CP1251", "de_DE"}) {
            if (std::setlocale(LC_ALL, name)) {
                cLocaleSet_ = true;
                std::locale::global(std::locale(name));
                break;
            }
        }
    }
    void TearDown() override {
        std::locale::global(previousCpp_);
        std::setlocale(LC_ALL, previousC_.c_str());
        QLocale::setDefault(previousQt_);
    }

    bool cLocaleSet_ = false;

private:
    QLocale previousQt_;
    std::string previousC_;
    std::locale previousCpp_{};
};

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
    {"0.005", "0.00", "0.005"},
    {"1234567.89", "1234567.88", "1234567.875"},
    {"1e10", "10000000000.00", "10000000000.000"},
    {" 12.5", "12.50", "12.500"},
    {"12.5  ", "12.50", "12.500"},
    {"+4", "4.00", "4.000"},
    {".5", "0.50", "0.500"},
    {"7.", "7.00", "7.000"},
    {"-.25", "-0.25", "-0.250"},
    {"2.5E-2", "0.03", "0.025"},
    {"0.015", "0.01", "0.015"},
    {"2.675", "2.67", "2.675"},
    {"-0.001", "0.00", "-0.001"},
    {"-0.0004", "0.00", "0.000"},
    {"-0", "0.00", "0.000"},
    {"16777217", "16777216.00", "16777216.000"},
    {"1e-50", "0.00", "0.000"},
    {"12,50", nullptr, nullptr},
    {"abc", nullptr, nullptr},
    {"", nullptr, nullptr},
    {" ", nullptr, nullptr},
    {".", nullptr, nullptr},
    {"-", nullptr, nullptr},
    {"1e", nullptr, nullptr},
    {"1e+", nullptr, nullptr},
    {"1 000", nullptr, nullptr},
    {"1,000.5", nullptr, nullptr},
    {"12.5.1", nullptr, nullptr},
    {"\t12.5", nullptr, nullptr},
    {"0x10", nullptr, nullptr},
    {"inf", nullptr, nullptr},
    {"nan", nullptr, nullptr},
    {"1e39", nullptr, nullptr},
    {"-4e38", nullptr, nullptr},
    {"--1", nullptr, nullptr},
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

TEST_F(CommaLocale, ReadsAndFormatsWithDotUnderCommaLocale) {
    ASSERT_EQ(QLocale().decimalPoint(), QStringLiteral(","));
    if (cLocaleSet_) {
        ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    }
    expectCases();
}

TEST(DecimalNumber, RefusalMessageQuotesTheText) {
    EXPECT_EQ(invalidFloatMessage(u"12,50"),
              QStringLiteral("'12,50' is not a valid floating point value"));
    EXPECT_EQ(invalidFloatMessage(u" 1 2 "),
              QStringLiteral("' 1 2 ' is not a valid floating point value"));
    EXPECT_EQ(invalidFloatMessage(u"Цена"),
              QStringLiteral("'Цена' is not a valid floating point value"));
}

TEST(DecimalNumber, FormatsWithAnyDecimalCount) {
    EXPECT_EQ(formatDecimalFloat(2.5f, 0), QStringLiteral("3"));
    EXPECT_EQ(formatDecimalFloat(-2.5f, 0), QStringLiteral("-3"));
    EXPECT_EQ(formatDecimalFloat(0.4f, 0), QStringLiteral("0"));
    EXPECT_EQ(formatDecimalFloat(0.0625f, 4), QStringLiteral("0.0625"));
    EXPECT_EQ(formatDecimalFloat(0.0f, 1), QStringLiteral("0.0"));
}

TEST(DecimalNumber, LargestFloatIsWrittenInFull) {
    const std::optional<float> value = parseDecimalFloat(u"3.4028234e38");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(formatDecimalFloat(*value, 2),
              QStringLiteral("340282346638528859811704183484516925440.00"));
}

}  // namespace
}  // namespace tabulon::text
