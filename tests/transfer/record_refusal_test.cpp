#include <gtest/gtest.h>

#include "catalogue/parameter_catalogue.h"
#include "qt_print.h"
#include "transfer/parameter_record.h"
#include "transfer/table_record.h"

namespace tabulon {
namespace {

// "W0;1;" and the fields of an otherwise empty goods row take 25 bytes, so a
// code of 171 characters makes a command of exactly 196.
TEST(RecordLength, GoodsRowUpToTheLinkLimitIsBuiltBeyondItRefused) {
    QStringList row{QString(171, QChar(u'1'))};
    BuiltRecord record = BuildTableRecord(TableKind::Goods, row, Model::DatecsMp550T, {1, 1});
    ASSERT_TRUE(record.ok());
    EXPECT_EQ(record.text.size(), 191);

    row[0] += u'1';
    record = BuildTableRecord(TableKind::Goods, row, Model::DatecsMp550T, {1, 1});
    ASSERT_FALSE(record.ok());
    EXPECT_EQ(record.error->kind, RecordError::Kind::TooLong);
    EXPECT_EQ(record.error->message,
              "Строка 1 таблицы \"Товары\" не записана: команда записи заняла бы 197 байт при "
              "пределе ЭККА 196 байт. Сократите тексты этой строки.");
    EXPECT_TRUE(record.text.isEmpty());
}

TEST(RecordLength, RecordNumberCountsAndTheMessageNamesTheRow) {
    // Row 5 of a coding interval going into record 10000: "W0;10000;" is 9 bytes.
    const QStringList row{QString(168, QChar(u'1'))};
    EXPECT_TRUE(BuildTableRecord(TableKind::Goods, row, Model::Neon, {5, 1000}).ok());
    const BuiltRecord record = BuildTableRecord(TableKind::Goods, row, Model::Neon, {5, 10000});
    ASSERT_FALSE(record.ok());
    EXPECT_EQ(record.error->message,
              "Строка 5 таблицы \"Товары\" не записана: команда записи заняла бы 197 байт при "
              "пределе ЭККА 196 байт. Сократите тексты этой строки.");
}

TEST(RecordLength, CyrillicCountsOneByteACharacter) {
    // "W3;20;" + password + ";Иванов;;0;" : 6 + 179 + 11 = 196.
    QStringList row{QString(179, QChar(u'7')), "Иванов", ""};
    EXPECT_TRUE(BuildTableRecord(TableKind::Operators, row, Model::DatecsMp550T, {20, 20}).ok());
    row[1] += u'ы';
    EXPECT_FALSE(BuildTableRecord(TableKind::Operators, row, Model::DatecsMp550T, {20, 20}).ok());
}

TEST(RecordLength, ParameterRecordOverTheLimitIsRefused) {
    QStringList texts(13, "1");
    texts[12] = QString(200, QChar(u'5'));
    EXPECT_TRUE(
        BuildParameterRecord(ParameterSet::CashRegisterParameters, texts, Model::DatecsMp50Junior)
            .ok());  // that field is not in the Junior's record
    const BuiltRecord record =
        BuildParameterRecord(ParameterSet::CashRegisterParameters, texts, Model::DatecsMp550T);
    ASSERT_FALSE(record.ok());
    EXPECT_EQ(record.error->kind, RecordError::Kind::TooLong);
    EXPECT_EQ(record.error->message,
              "Таблица \"Параметры кассы\" не записана: команда записи заняла бы 230 байт при "
              "пределе ЭККА 196 байт. Сократите тексты полей.");
}

TEST(RecordCodePage, CellCharacterOutsideWindows1251IsReportedNotReplaced) {
    BuiltRecord record = BuildTableRecord(TableKind::Goods, {"1", "Чай ✓ зелений", "2.00"},
                                          Model::DatecsMp550T, {3, 3});
    ASSERT_FALSE(record.ok());
    EXPECT_EQ(record.error->kind, RecordError::Kind::NotInCodePage);
    EXPECT_EQ(record.error->message,
              "Строка 3 таблицы \"Товары\" не записана: в столбце \"Название\" есть символ «✓» "
              "(U+2713), которого нет в кодировке Windows-1251.");

    record = BuildTableRecord(TableKind::Operators, {"1", "Анна", "😀"}, Model::Neon, {2, 2});
    ASSERT_FALSE(record.ok());
    EXPECT_EQ(record.error->message,
              "Строка 2 таблицы \"Операторы\" не записана: в столбце \"Разрешение\" есть символ "
              "«😀» (U+1F600), которого нет в кодировке Windows-1251.");
}

TEST(RecordCodePage, OnlyWhatIsSentMustEncode) {
    // Beyond the cut the character is never sent.
    const QString name = QString(32, QChar(u'a')) + "✓";
    EXPECT_TRUE(BuildTableRecord(TableKind::Goods, {"1", name}, Model::DatecsMp550T, {1, 1}).ok());
    // A cut through the middle of a character still sends half of it: refused,
    // and the message shows the whole character.
    const QString split = QString(31, QChar(u'a')) + "😀";
    const BuiltRecord record =
        BuildTableRecord(TableKind::Goods, {"1", split}, Model::DatecsMp550T, {1, 1});
    ASSERT_FALSE(record.ok());
    EXPECT_TRUE(record.error->message.contains("«😀» (U+1F600)"))
        << record.error->message.toStdString();
    // Everything Windows-1251 has goes through, the euro sign and "ї" included.
    EXPECT_TRUE(
        BuildTableRecord(TableKind::Departments, {"Їжа €"}, Model::DatecsMp550T, {1, 1}).ok());
}

TEST(RecordCodePage, ParameterFieldIsNamedByItsLabelForTheModel) {
    ParameterMap fields;
    fields.setFieldText("Edit9", "1\u2009");  // thin space: not in the code page, not trimmed
    const BuiltRecord record =
        BuildParameterRecord(ParameterSet::CashRegisterParameters, fields, Model::DatecsMp50Junior);
    ASSERT_FALSE(record.ok());
    EXPECT_EQ(record.error->kind, RecordError::Kind::NotInCodePage);
    EXPECT_EQ(record.error->message,
              "Таблица \"Параметры кассы\" не записана: в поле \"Выкл. аппарата во время "
              "регистр.\" есть символ «\u2009» (U+2009), которого нет в кодировке Windows-1251.");
}

// A NUL from a file would end the record on the line early and a line feed
// from a reply would split it; both are refused where the record is built.
TEST(RecordControlCharacters, CellsAndFieldsWithControlCharactersAreRefusedByName) {
    BuiltRecord record = BuildTableRecord(TableKind::Goods, {"7", QString("Чай") + QChar(0) + "зелений", "2.00"},
                                          Model::DatecsMp550T, {12, 12});
    ASSERT_FALSE(record.ok());
    EXPECT_EQ(record.error->kind, RecordError::Kind::Control);
    EXPECT_EQ(record.error->message,
              "Строка 12 таблицы \"Товары\" не записана: в столбце \"Название\" есть управляющий "
              "символ U+0000, который нельзя передать в ЭККА.");
    EXPECT_TRUE(record.text.isEmpty());

    record = BuildTableRecord(TableKind::HeaderText, {"Рядок\nдругий"}, Model::Neon, {4, 4});
    ASSERT_FALSE(record.ok());
    EXPECT_EQ(record.error->kind, RecordError::Kind::Control);
    EXPECT_TRUE(record.error->message.startsWith("Строка 4 таблицы \"Загол. и рекл. текст\" не записана: в столбце \"Заголовок/рекламный текст (38 символов)\" есть управляющий символ U+000A"))
        << record.error->message.toStdString();

    ParameterMap fields;
    fields.setFieldText("Edit9", "\t1\r2\n");  // trimmed at the ends, refused inside
    record =
        BuildParameterRecord(ParameterSet::CashRegisterParameters, fields, Model::DatecsMp50Junior);
    ASSERT_FALSE(record.ok());
    EXPECT_EQ(record.error->message,
              "Таблица \"Параметры кассы\" не записана: в поле \"Выкл. аппарата во время "
              "регистр.\" есть управляющий символ U+000D, который нельзя передать в ЭККА.");
    fields.setFieldText("Edit9", "\t1\r\n");
    EXPECT_TRUE(
        BuildParameterRecord(ParameterSet::CashRegisterParameters, fields, Model::DatecsMp50Junior)
            .ok());
}

}  // namespace
}  // namespace tabulon
