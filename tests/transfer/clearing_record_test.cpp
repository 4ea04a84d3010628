#include "transfer/clearing_record.h"

#include <gtest/gtest.h>

#include "support/cp1251.h"
#include "support/qt_print.h"

namespace tabulon {
namespace {

using testing::cp1251;

constexpr Model kModels[] = {Model::DatecsMp550T, Model::DatecsMp50Junior, Model::Neon};

QByteArray cleared(TableKind kind, int record, Model model = Model::DatecsMp550T) {
    return ClearingRecord(kind, record, model).value_or("<none>");
}

TEST(ClearingRecord, GoodsAreNumberedUpToTwentyThenBlank) {
    for (Model model : kModels) {
        EXPECT_EQ(cleared(TableKind::Goods, 1, model), cp1251("1;Товар1;0.00;0.000;1;1;1;1;0;0;"));
        EXPECT_EQ(cleared(TableKind::Goods, 7, model), cp1251("7;Товар7;0.00;0.000;1;1;1;1;0;0;"));
        EXPECT_EQ(cleared(TableKind::Goods, 20, model),
                  cp1251("20;Товар20;0.00;0.000;1;1;1;1;0;0;"));
        EXPECT_EQ(cleared(TableKind::Goods, 21, model), "0; ;0.00;0.000;1;1;1;1;0;0;");
        EXPECT_EQ(cleared(TableKind::Goods, 5000, model), "0; ;0.00;0.000;1;1;1;1;0;0;");
    }
    EXPECT_EQ(cleared(TableKind::Goods, 10000), "0; ;0.00;0.000;1;1;1;1;0;0;");
    EXPECT_EQ(cleared(TableKind::Goods, 10000, Model::Neon), "0; ;0.00;0.000;1;1;1;1;0;0;");
    // Bytes of "Товар": D2 EE E2 E0 F0.
    EXPECT_EQ(cleared(TableKind::Goods, 1).mid(2, 5), QByteArray("\xD2\xEE\xE2\xE0\xF0"));
}

TEST(ClearingRecord, OperatorsGetTheirNumberAsPassword) {
    EXPECT_EQ(cleared(TableKind::Operators, 1), cp1251("1;Оператор1;0;"));
    EXPECT_EQ(cleared(TableKind::Operators, 12, Model::Neon), cp1251("12;Оператор12;0;"));
    EXPECT_EQ(cleared(TableKind::Operators, 20, Model::DatecsMp50Junior),
              cp1251("20;Оператор20;0;"));
    for (int op = 1; op <= 20; ++op) {
        const QString password = defaultOperatorPassword(op);
        EXPECT_TRUE(password.size() == 1 || password.size() == 2) << op;
        EXPECT_EQ(password.toInt(), op);
    }
}

TEST(ClearingRecord, PaymentTypesAreUkrainianNames) {
    EXPECT_EQ(cleared(TableKind::PaymentTypes, 1), cp1251("1;1;Готівка;1;0;"));
    EXPECT_EQ(cleared(TableKind::PaymentTypes, 1),
              QByteArray("1;1;\xC3\xEE\xF2\xB3\xE2\xEA\xE0;1;0;"));
    EXPECT_EQ(cleared(TableKind::PaymentTypes, 2), cp1251("1;1;Чек;0;0;"));
    EXPECT_EQ(cleared(TableKind::PaymentTypes, 3, Model::Neon), cp1251("1;1;Кредит;0;0;"));
    EXPECT_EQ(cleared(TableKind::PaymentTypes, 4, Model::Neon), cp1251("1;1;Картка;0;0;"));
    EXPECT_EQ(cleared(TableKind::PaymentTypes, 5), cp1251("1;1;Переказ;0;0;"));
}

TEST(ClearingRecord, DepartmentsAreNumbered) {
    EXPECT_EQ(cleared(TableKind::Departments, 3), cp1251("Відділ 3;"));
    EXPECT_EQ(cleared(TableKind::Departments, 3), QByteArray("\xC2\xB3\xE4\xE4\xB3\xEB 3;"));
    EXPECT_EQ(cleared(TableKind::Departments, 20, Model::Neon), cp1251("Відділ 20;"));
}

TEST(ClearingRecord, HeaderTextHasTheModelNameOnLineThree) {
    const QByteArray twelve(12, ' ');
    EXPECT_EQ(cleared(TableKind::HeaderText, 3, Model::DatecsMp550T),
              twelve + QByteArray("\xCC\xD0\x2D\x35\x35\x30\xD2\x3B"));
    EXPECT_EQ(cleared(TableKind::HeaderText, 3, Model::DatecsMp50Junior), "         MP-50 Junior;");
    EXPECT_EQ(cleared(TableKind::HeaderText, 3, Model::Neon), "                 Neon;");

    for (Model model : kModels) {
        EXPECT_EQ(cleared(TableKind::HeaderText, 1, model), twelve + cp1251("Україна;"));
        EXPECT_EQ(cleared(TableKind::HeaderText, 2, model), twelve + cp1251("м.Київ;"));
        EXPECT_EQ(cleared(TableKind::HeaderText, 4, model), ";");
        EXPECT_EQ(cleared(TableKind::HeaderText, 5, model), cp1251("      Дякуємо за покупку!;"));
        EXPECT_EQ(cleared(TableKind::HeaderText, 6, model), cp1251("    Чекаємо на Вас знову!;"));
        for (int line = 7; line <= 12; ++line) {
            EXPECT_EQ(cleared(TableKind::HeaderText, line, model), ";") << line;
        }
    }
}

TEST(ClearingRecord, RecordsATableDoesNotHaveHaveNoDefault) {
    EXPECT_FALSE(ClearingRecord(TableKind::Goods, 0, Model::DatecsMp550T));
    EXPECT_FALSE(ClearingRecord(TableKind::Goods, 10001, Model::Neon));
    EXPECT_FALSE(ClearingRecord(TableKind::Goods, 5001, Model::DatecsMp50Junior));
    EXPECT_FALSE(ClearingRecord(TableKind::Operators, 21, Model::DatecsMp550T));
    EXPECT_FALSE(ClearingRecord(TableKind::PaymentTypes, 6, Model::Neon));
    EXPECT_FALSE(ClearingRecord(TableKind::Departments, 0, Model::Neon));
    EXPECT_FALSE(ClearingRecord(TableKind::HeaderText, 13, Model::Neon));
}

}  // namespace
}  // namespace tabulon
