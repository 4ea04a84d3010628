#include "files/line_split.h"

#include <gtest/gtest.h>

namespace tabulon::files {
namespace {

struct Split {
    QStringList values;
    bool complete;
};

Split split(const QString& line, int count) {
    const GridLineValues values = splitGridLine(line, count);
    return {values.values, values.complete};
}

TEST(GridLineSplit, TakesValuesWithOrWithoutTheFinalSeparator) {
    const QStringList article{"1", "Товар1", "0.00", "0.000", "1", "1", "1", "1", "0", "0"};
    for (const QString line :
         {"1;Товар1;0.00;0.000;1;1;1;1;0;0;\n", "1;Товар1;0.00;0.000;1;1;1;1;0;0\n",
          "1;Товар1;0.00;0.000;1;1;1;1;0;0", "1;Товар1;0.00;0.000;1;1;1;1;0;0\r\n"}) {
        const Split s = split(line, 10);
        EXPECT_TRUE(s.complete) << line.toStdString();
        EXPECT_EQ(s.values, article) << line.toStdString();
    }
    EXPECT_EQ(split(";;;;;;;;;;\n", 10).values, QStringList(10, QString()));
    // What follows the last separator is never looked at.
    EXPECT_EQ(split("a;b;c;d;\n", 2).values, (QStringList{"a", "b"}));
}

TEST(GridLineSplit, NineValuesLeaveTheTenthEmptyAndEightAreShort) {
    const Split nine = split("1;Товар1;0.00;0.000;1;1;1;1;0;\n", 10);
    EXPECT_TRUE(nine.complete);
    EXPECT_EQ(nine.values.size(), 10);
    EXPECT_EQ(nine.values[8], "0");
    EXPECT_EQ(nine.values[9], "");

    const Split eight = split("1;Товар1;0.00;0.000;1;1;1;1;\n", 10);
    EXPECT_FALSE(eight.complete);
    EXPECT_EQ(eight.values, (QStringList{"1", "Товар1", "0.00", "0.000", "1", "1", "1", "1"}));

    const Split one = split("abc\n", 3);
    EXPECT_FALSE(one.complete);
    EXPECT_TRUE(one.values.isEmpty());
}

TEST(GridLineSplit, DropsLineBreaksOnlyAtTheEndOfAValue) {
    EXPECT_EQ(split("ab;", 1).values, QStringList{"ab"});
    EXPECT_EQ(split("ab\r;", 1).values, QStringList{"ab"});
    EXPECT_EQ(split("ab\rx;", 1).values, QStringList{"ab"});
    EXPECT_EQ(split("ab\r\r;", 1).values, QStringList{"ab"});
    EXPECT_EQ(split("a\rbc;", 1).values, QStringList{"a\rbc"});
    EXPECT_EQ(split("\r;", 1).values, QStringList{""});
    // The value that ends the line loses at most two line-break characters.
    EXPECT_EQ(split("x;ab\r\r\r", 2).values, (QStringList{"x", "ab\r"}));
    EXPECT_EQ(split("x;a\rb", 2).values, (QStringList{"x", "a\rb"}));
}

TEST(ParameterLineSplit, TakesOnlyValuesClosedBySeparator) {
    EXPECT_EQ(splitParameterLine(u"5;\n", 13), QStringList{"5"});
    EXPECT_EQ(splitParameterLine(u"1;2;3", 13), (QStringList{"1", "2"}));
    EXPECT_EQ(splitParameterLine(u"1;2;3;4;\n", 2), (QStringList{"1", "2"}));
    // No line-break handling for parameters: the text before ";" is the value.
    EXPECT_EQ(splitParameterLine(u"a\r;\n;", 5), (QStringList{"a\r", "\n"}));
    EXPECT_TRUE(splitParameterLine(u"\n", 5).isEmpty());
}

}  // namespace
}  // namespace tabulon::files
