#include "transfer/parameter_record.h"

#include <gtest/gtest.h>

#include "cp1251_bytes.h"
#include "qt_print.h"

namespace tabulon {
namespace {

QStringList numbered(int count) {
    QStringList texts;
    for (int i = 1; i <= count; ++i) texts << QString::number(i);
    return texts;
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
        const BuiltRecord record = BuildParameterRecord(c.set, numbered(13), c.model);
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

TEST(ParameterRecord, ReadsTheWindowFieldsByName) {
    ParameterMap fields;
    const QStringList names{"Edit25", "Edit26", "Edit27", "Edit28", "Edit29", "Edit30",
                            "Edit31", "Edit32", "Edit33", "Edit34", "Edit36", "Edit37"};
    for (int i = 0; i < names.size(); ++i) fields.setFieldText(names[i], QString::number(i + 1));
    EXPECT_EQ(
        BuildParameterRecord(ParameterSet::ServiceParameters, fields, Model::DatecsMp50Junior).text,
        "1;2;3;4;5;6;7;8;9;10;11;12;");
    EXPECT_EQ(BuildParameterRecord(ParameterSet::ServiceParameters, fields, Model::Neon).text,
              "1;2;3;4;5;6;7;8;9;10;11;");
}

ParameterMap markedCashFields() {
    ParameterMap fields;
    for (const char* edit : {"Edit5", "Edit6", "Edit7", "Edit8", "Edit9", "Edit10", "Edit11",
                             "Edit12", "Edit13", "Edit14", "Edit19", "Edit24", "Edit35"}) {
        fields.setFieldText(edit, "old");
    }
    return fields;
}

TEST(ParameterReply, ReplyOfEightFieldsFillsEdit5ToEdit12) {
    ParameterMap fields = markedCashFields();
    ParseParameterRecord(ParameterSet::CashRegisterParameters, cp1251("2;1;1;0;1;30;0; 0 ;1;4;"),
                         Model::DatecsMp550T, fields);
    const QStringList expected{"1", "0",   "1",   "30",  "0",   " 0 ", "1",
                               "4", "old", "old", "old", "old", "old"};
    const QStringList names{"Edit5",  "Edit6",  "Edit7",  "Edit8",  "Edit9",  "Edit10", "Edit11",
                            "Edit12", "Edit13", "Edit14", "Edit19", "Edit24", "Edit35"};
    for (int i = 0; i < names.size(); ++i) EXPECT_EQ(fields.fieldText(names[i]), expected[i]) << i;
}

TEST(ParameterReply, FieldsBeyondTheModelsLastAreIgnored) {
    const QByteArray reply = "2;1;1;2;3;4;5;6;7;8;9;10;11;12;13;14;";
    EXPECT_EQ(
        ParseParameterRecord(ParameterSet::CashRegisterParameters, reply, Model::DatecsMp50Junior),
        QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}));
    EXPECT_EQ(ParseParameterRecord(ParameterSet::CashRegisterParameters, reply, Model::Neon).size(),
              12);

    // Edit37 belongs to MP-50 Junior only: the other models leave it alone.
    ParameterMap fields;
    fields.setFieldText("Edit37", "old");
    ParseParameterRecord(ParameterSet::ServiceParameters, reply, Model::DatecsMp550T, fields);
    EXPECT_EQ(fields.fieldText("Edit36"), "11");
    EXPECT_EQ(fields.fieldText("Edit37"), "old");
    ParseParameterRecord(ParameterSet::ServiceParameters, reply, Model::DatecsMp50Junior, fields);
    EXPECT_EQ(fields.fieldText("Edit37"), "12");
}

TEST(ParameterReply, MissingSemicolonEndsTheFields) {
    EXPECT_EQ(ParseParameterRecord(ParameterSet::ReceiptParameters, "5;1;0;200;4", Model::Neon),
              QStringList({"0", "200"}));
    for (const QByteArray& nothing : {QByteArray(), QByteArray("E1"), QByteArray("5;"),
                                      QByteArray("5;1;"), QByteArray("5;1;0")}) {
        ParameterMap fields = markedCashFields();
        ParseParameterRecord(ParameterSet::CashRegisterParameters, nothing, Model::DatecsMp550T,
                             fields);
        EXPECT_EQ(fields.fieldText("Edit5"), "old") << nothing.toStdString();
    }
}

}  // namespace
}  // namespace tabulon
