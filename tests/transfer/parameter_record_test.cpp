#include "transfer/parameter_record.h"

#include <gtest/gtest.h>

#include "catalogue/parameter_catalogue.h"
#include "support/cp1251.h"
#include "support/qt_print.h"

namespace tabulon {
namespace {

using testing::cp1251;

// Every field of the set holding its position in the record, 1, 2, ...
ParameterMap numberedFields(ParameterSet set) {
    ParameterMap fields;
    const QStringList names = parameterFieldNames(set);
    for (int i = 0; i < names.size(); ++i) fields.setFieldText(names[i], QString::number(i + 1));
    return fields;
}

TEST(ParameterRecord, FieldCountFollowsTheModel) {
    using enum ParameterSet;
    const struct {
        ParameterSet set;
        Model model;
        QByteArray record;
    } cases[] = {
        {CashRegisterParameters, Model::DatecsMp550T, "1;2;3;4;5;6;7;8;9;10;11;12;13;"},
        {CashRegisterParameters, Model::Neon, "1;2;3;4;5;6;7;8;9;10;11;12;"},
        {CashRegisterParameters, Model::DatecsMp50Junior, "1;2;3;4;5;6;7;8;9;10;11;"},
        {ReceiptParameters, Model::DatecsMp550T, "1;2;3;4;5;6;7;8;"},
        {ReceiptParameters, Model::DatecsMp50Junior, "1;2;3;4;5;6;7;8;"},
        {ReceiptParameters, Model::Neon, "1;2;3;4;5;6;7;8;"},
        {ServiceParameters, Model::DatecsMp550T, "1;2;3;4;5;6;7;8;9;10;11;"},
        {ServiceParameters, Model::DatecsMp50Junior, "1;2;3;4;5;6;7;8;9;10;11;12;"},
        {ServiceParameters, Model::Neon, "1;2;3;4;5;6;7;8;9;10;11;"},
    };
    for (const auto& c : cases) {
        const BuiltRecord record = BuildParameterRecord(c.set, numberedFields(c.set), c.model);
        ASSERT_TRUE(record.ok());
        EXPECT_EQ(record.text, c.record) << int(c.set) << " model " << int(c.model);
    }
}

TEST(ParameterRecord, FieldsLoseBlanksAndControlsAtTheEndsOnly) {
    const QStringList texts{" 1 ", "\t2\r\n", "3 4", "", "  ", "\u00A05", "Ї"};
    const BuiltRecord record =
        BuildParameterRecord(ParameterSet::ReceiptParameters, texts, Model::Neon);
    ASSERT_TRUE(record.ok());
    // The no-break space is a character of the code page, not a blank here.
    EXPECT_EQ(record.text, QByteArray("1;2;3 4;;;\xA0"
                                      "5;\xAF;;"));
}

TEST(ParameterReply, FieldsGoInRecordOrderAsFarAsTheReplyAndTheModelGo) {
    const QStringList cash = parameterFieldNames(ParameterSet::CashRegisterParameters);

    // Eight fields: Edit5 to Edit12, untrimmed; Edit13 onward keep their texts.
    ParameterMap fields;
    for (const QString& edit : cash) fields.setFieldText(edit, "old");
    ParseParameterRecord(ParameterSet::CashRegisterParameters, cp1251("2;1;1;0;1;30;0; 0 ;1;4;"),
                         Model::DatecsMp550T, fields);
    QStringList texts;
    for (const QString& edit : cash) texts << fields.fieldText(edit);
    EXPECT_EQ(texts, QStringList({"1", "0", "1", "30", "0", " 0 ", "1", "4", "old", "old", "old",
                                  "old", "old"}));

    // Fields beyond the model's last are ignored.
    const QByteArray reply = "2;1;1;2;3;4;5;6;7;8;9;10;11;12;13;14;";
    EXPECT_EQ(
        ParseParameterRecord(ParameterSet::CashRegisterParameters, reply, Model::DatecsMp50Junior),
        QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}));
    ParameterMap service;
    service.setFieldText("Edit37", "old");
    ParseParameterRecord(ParameterSet::ServiceParameters, reply, Model::DatecsMp550T, service);
    EXPECT_EQ(service.fieldText("Edit36"), "11");
    EXPECT_EQ(service.fieldText("Edit37"), "old");
    ParseParameterRecord(ParameterSet::ServiceParameters, reply, Model::DatecsMp50Junior, service);
    EXPECT_EQ(service.fieldText("Edit37"), "12");
}

TEST(ParameterReply, MissingSemicolonEndsTheFields) {
    EXPECT_EQ(ParseParameterRecord(ParameterSet::ReceiptParameters, "5;1;0;200;4", Model::Neon),
              QStringList({"0", "200"}));
    for (const QByteArray& nothing : {QByteArray(), QByteArray("E1"), QByteArray("5;"),
                                      QByteArray("5;1;"), QByteArray("5;1;0")}) {
        EXPECT_TRUE(
            ParseParameterRecord(ParameterSet::CashRegisterParameters, nothing, Model::DatecsMp550T)
                .isEmpty())
            << nothing.toStdString();
    }
}

}  // namespace
}  // namespace tabulon
