#include "text/cp1251.h"

#include <gtest/gtest.h>

namespace tabulon::text {
namespace {

TEST(Cp1251, EveryByteValueSurvivesARoundTrip) {
    QByteArray all;
    for (int b = 0; b < 256; ++b) all.append(char(b));
    const QString decoded = fromCp1251(all);
    ASSERT_EQ(decoded.size(), 256);
    EXPECT_EQ(decoded[0xC0], QChar(u'А'));
    EXPECT_EQ(decoded[0xFF], QChar(u'я'));
    EXPECT_EQ(decoded[0xB3], QChar(u'і'));
    EXPECT_EQ(decoded[0xB9], QChar(u'№'));
    const auto encoded = toCp1251(decoded);
    ASSERT_TRUE(encoded.has_value());
    EXPECT_EQ(*encoded, all);
}

TEST(Cp1251, CharactersOutsideTheCodePageAreReportedNotReplaced) {
    EXPECT_EQ(toCp1251(u"Ціна 5€"), QByteArray("\xD6\xB3\xED\xE0 5\x88"));
    for (const QString& text :
         {QString("中"), QString("a✓b"), QString::fromUtf8("\xF0\x9F\x98\x80"),
          QString("a") + QChar(0xD83D)}) {
        EXPECT_FALSE(toCp1251(text).has_value()) << text.toStdString();
        EXPECT_FALSE(isCp1251(text));
    }
    EXPECT_EQ(firstNonCp1251(u"ab✓c中"), 2);
    EXPECT_EQ(firstNonCp1251(u"Ґанок №1"), -1);
}

}  // namespace
}  // namespace tabulon::text
