#include "catalogue/entry_rule.h"

#include <gtest/gtest.h>

namespace tabulon {
namespace {

std::string refusal(const QString& text) {
    return entryRefusal(text).value_or(QStringLiteral("-")).toStdString();
}

TEST(EntryRule, RefusalsShowTheWholeCharacter) {
    EXPECT_EQ(refusal(QStringLiteral("чай 😀")),
              "Символ \"😀\" недопустим: его нет в кодировке Windows-1251.");
    EXPECT_EQ(refusal(QStringLiteral("Ω")), "Символ \"Ω\" недопустим: его нет в кодировке Windows-1251.");
    EXPECT_EQ(refusal(QStringLiteral("a;b")), "Символ \";\" недопустим: он разделяет поля записи.");
    EXPECT_EQ(refusal(QStringLiteral("a\nb")),
              "Перевод строки недопустим: значение должно быть одной строкой.");
    EXPECT_EQ(refusal(QStringLiteral("Ґанок №1 €")), "-");
}

}  // namespace
}  // namespace tabulon
