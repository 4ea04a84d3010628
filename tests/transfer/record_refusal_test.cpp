#include <gtest/gtest.h>

#include <functional>

#include "catalogue/parameter_catalogue.h"
#include "support/qt_print.h"
#include "transfer/parameter_record.h"
#include "transfer/table_record.h"

namespace tabulon {
namespace {

using Build = std::function<BuiltRecord()>;

Build row(TableKind kind, const QStringList& cells, Model model, RecordPlace place) {
    return [=] { return BuildTableRecord(kind, cells, model, place); };
}

// The cash register parameters with their thirteenth text 200 characters long.
Build longCashTexts(Model model) {
    QStringList texts(13, "1");
    texts[12] = QString(200, QChar(u'5'));
    return [=] { return BuildParameterRecord(ParameterSet::CashRegisterParameters, texts, model); };
}

Build cashEdit9(const QString& text, Model model) {
    return [=] {
        ParameterMap fields;
        fields.setFieldText("Edit9", text);
        return BuildParameterRecord(ParameterSet::CashRegisterParameters, fields, model);
    };
}

// Records at the edge of what goes out: what fits is built, and one byte more,
// one character outside the code page or a control character inside it is
// refused with a message naming the row or field and the cause.
TEST(RecordRefusal, EachRefusedRecordSaysWhereAndWhy) {
    using enum TableKind;
    using Kind = RecordError::Kind;
    const Model mp550 = Model::DatecsMp550T;
    const Model junior = Model::DatecsMp50Junior;
    const QString digits171(171, QChar(u'1'));
    const QString digits168(168, QChar(u'1'));
    const QString password179(179, QChar(u'7'));
    struct Case {
        const char* what;
        Build fits;  // or nothing
        Build refused;
        Kind kind;
        QString message;
    };
    const Case cases[] = {
        // "W0;1;" and the fields of an otherwise empty goods row take 25 bytes,
        // so a code of 171 characters makes a command of exactly 196.
        {"goods row over the link limit", row(Goods, {digits171}, mp550, {1, 1}),
         row(Goods, {digits171 + '1'}, mp550, {1, 1}), Kind::TooLong,
         "Строка 1 таблицы \"Товары\" не записана: команда записи заняла бы 197 байт при "
         "пределе ЭККА 196 байт. Сократите тексты этой строки."},
        // Row 5 of a coding interval going into record 10000: "W0;10000;" is 9 bytes.
        {"the record number counts, the message names the row",
         row(Goods, {digits168}, Model::Neon, {5, 1000}),
         row(Goods, {digits168}, Model::Neon, {5, 10000}), Kind::TooLong,
         "Строка 5 таблицы \"Товары\" не записана: команда записи заняла бы 197 байт при "
         "пределе ЭККА 196 байт. Сократите тексты этой строки."},
        // "W3;20;" + password + ";Иванов;;0;" : 6 + 179 + 11 = 196.
        {"Cyrillic counts one byte a character",
         row(Operators, {password179, "Иванов", ""}, mp550, {20, 20}),
         row(Operators, {password179, "Ивановы", ""}, mp550, {20, 20}), Kind::TooLong,
         "Строка 20 таблицы \"Операторы\" не записана: команда записи заняла бы 197 байт при "
         "пределе ЭККА 196 байт. Сократите тексты этой строки."},
        // That field is not in the Junior's record.
        {"parameter record over the limit", longCashTexts(junior), longCashTexts(mp550),
         Kind::TooLong,
         "Таблица \"Параметры кассы\" не записана: команда записи заняла бы 230 байт при "
         "пределе ЭККА 196 байт. Сократите тексты полей."},
        // Everything Windows-1251 has goes through, the euro sign and "ї" included.
        {"a cell character outside Windows-1251 is reported, not replaced",
         row(Departments, {"Їжа €"}, mp550, {1, 1}),
         row(Goods, {"1", "Чай ✓ зелений", "2.00"}, mp550, {3, 3}), Kind::NotInCodePage,
         "Строка 3 таблицы \"Товары\" не записана: в столбце \"Название\" есть символ «✓» "
         "(U+2713), которого нет в кодировке Windows-1251."},
        {"a character outside the basic plane",
         {},
         row(Operators, {"1", "Анна", "😀"}, Model::Neon, {2, 2}),
         Kind::NotInCodePage,
         "Строка 2 таблицы \"Операторы\" не записана: в столбце \"Разрешение\" есть символ "
         "«😀» (U+1F600), которого нет в кодировке Windows-1251."},
        // Beyond the cut the character is never sent; a cut through the middle
        // of a character still sends half of it, and the message shows it whole.
        {"only what is sent must encode",
         row(Goods, {"1", QString(32, QChar(u'a')) + "✓"}, mp550, {1, 1}),
         row(Goods, {"1", QString(31, QChar(u'a')) + "😀"}, mp550, {1, 1}), Kind::NotInCodePage,
         "Строка 1 таблицы \"Товары\" не записана: в столбце \"Название\" есть символ «😀» "
         "(U+1F600), которого нет в кодировке Windows-1251."},
        // A thin space: not in the code page, and not trimmed.
        {"a parameter field is named by its label for the model",
         {},
         cashEdit9("1\u2009", junior),
         Kind::NotInCodePage,
         "Таблица \"Параметры кассы\" не записана: в поле \"Выкл. аппарата во время "
         "регистр.\" есть символ «\u2009» (U+2009), которого нет в кодировке Windows-1251."},
        // A NUL from a file would end the record on the line early and a line
        // feed from a reply would split it; both are refused where the record
        // is built.
        {"a NUL in a cell",
         {},
         row(Goods, {"7", QString("Чай") + QChar(0) + "зелений", "2.00"}, mp550, {12, 12}),
         Kind::Control,
         "Строка 12 таблицы \"Товары\" не записана: в столбце \"Название\" есть управляющий "
         "символ U+0000, который нельзя передать в ЭККА."},
        {"a line feed in a header line",
         {},
         row(HeaderText, {"Рядок\nдругий"}, Model::Neon, {4, 4}),
         Kind::Control,
         "Строка 4 таблицы \"Загол. и рекл. текст\" не записана: в столбце \"Заголовок/"
         "рекламный текст (38 символов)\" есть управляющий символ U+000A, который нельзя "
         "передать в ЭККА."},
        // Trimmed at the ends, refused inside.
        {"control characters in a parameter field", cashEdit9("\t1\r\n", junior),
         cashEdit9("\t1\r2\n", junior), Kind::Control,
         "Таблица \"Параметры кассы\" не записана: в поле \"Выкл. аппарата во время "
         "регистр.\" есть управляющий символ U+000D, который нельзя передать в ЭККА."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.fits) {
            const BuiltRecord fits = c.fits();
            EXPECT_TRUE(fits.ok()) << (fits.error ? fits.error->message.toStdString() : "");
        }
        const BuiltRecord record = c.refused();
        ASSERT_FALSE(record.ok());
        EXPECT_EQ(record.error->kind, c.kind);
        EXPECT_EQ(record.error->message, c.message);
        EXPECT_TRUE(record.text.isEmpty());
    }
    // The goods row of exactly 196 bytes on the line.
    EXPECT_EQ(row(Goods, {digits171}, mp550, {1, 1})().text.size(), 191);
}

}  // namespace
}  // namespace tabulon
