#include "text/grouped_number.h"

#include <gtest/gtest.h>

namespace tabulon::text {
namespace {

TEST(GroupedNumber, ThousandsAreSetApartByBlanks) {
    const std::pair<qint64, const char*> rows[] = {
        {0, "0"},          {7, "7"},          {999, "999"},          {1000, "1 000"},
        {4321, "4 321"},   {10000, "10 000"}, {123456, "123 456"},   {1234567, "1 234 567"},
        {-4321, "-4 321"}, {-999, "-999"},    {-100000, "-100 000"},
    };
    for (const auto& [number, text] : rows)
        EXPECT_EQ(groupedNumber(number).toStdString(), text) << number;
}

}  // namespace
}  // namespace tabulon::text
