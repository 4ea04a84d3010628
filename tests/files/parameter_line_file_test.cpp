#include <gtest/gtest.h>

#include <QBuffer>

#include "catalogue/parameter_values.h"
#include "file_test_support.h"
#include "files/table_file_reader.h"
#include "files/table_file_writer.h"

namespace tabulon::files {
namespace {

using testing::BytesDevice;

// Every field of the three tabs holds its own name, so a line shows which
// fields went into it.
ParameterMap namedFields() {
    ParameterMap fields;
    for (int edit = 5; edit <= 37; ++edit)
        fields.setFieldText(QStringLiteral("Edit%1").arg(edit), QStringLiteral("e%1").arg(edit));
    return fields;
}

QByteArray write(const ParameterValues& fields, ParameterSet set, Model model) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_EQ(writeParameterLine(fields, parameterFileLayout(set, model), buffer),
              WriteOutcome::Complete);
    return bytes;
}

ReadResult read(const QByteArray& bytes, ParameterValues& fields, ParameterSet set, Model model) {
    BytesDevice device(bytes);
    return readParameterLine(device, fields, parameterFileLayout(set, model));
}

// The line each parameter set and model writes, its fields named after
// their edit boxes; Neon's service line keeps the eleventh value's place
// empty.
TEST(ParameterLineFile, LineHoldsTheFieldsOfTheModel) {
    const ParameterMap fields = namedFields();
    using S = ParameterSet;
    using M = Model;
    const QByteArray cash = "e5;e6;e7;e8;e9;e10;e11;e12;e13;e14;e19;";
    const QByteArray receipt = "e15;e16;e17;e18;e20;e21;e22;e23;\r\n";
    const QByteArray service = "e25;e26;e27;e28;e29;e30;e31;e32;e33;e34;";
    const struct {
        ParameterSet set;
        Model model;
        QByteArray line;
    } rows[] = {
        {S::CashRegisterParameters, M::DatecsMp550T, cash + "e24;e35;\r\n"},
        {S::CashRegisterParameters, M::DatecsMp50Junior, cash + "\r\n"},
        {S::CashRegisterParameters, M::Neon, cash + "e24;\r\n"},
        {S::ReceiptParameters, M::DatecsMp550T, receipt},
        {S::ReceiptParameters, M::DatecsMp50Junior, receipt},
        {S::ReceiptParameters, M::Neon, receipt},
        {S::ServiceParameters, M::DatecsMp550T, service + "e36;\r\n"},
        {S::ServiceParameters, M::DatecsMp50Junior, service + "e36;\r\n"},
        {S::ServiceParameters, M::Neon, service + ";\r\n"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(write(fields, row.set, row.model), row.line)
            << int(row.set) << " " << int(row.model);

    ParameterMap loaded;
    read(cash + "e24;e35;\r\n", loaded, S::CashRegisterParameters, M::DatecsMp550T);
    EXPECT_EQ(loaded.fieldText("Edit24"), "e24");
    EXPECT_EQ(loaded.fieldText("Edit35"), "e35");
}

TEST(ParameterLineFile, ServiceLineReadsTheEleventhValueOnlyWhereTheModelHasIt) {
    const auto set = ParameterSet::ServiceParameters;
    ParameterMap neon = namedFields();
    read("1;2;3;4;5;6;7;8;9;10;11;\r\n", neon, set, Model::Neon);
    EXPECT_EQ(neon.fieldText("Edit34"), "10");
    EXPECT_EQ(neon.fieldText("Edit36"), "e36");

    ParameterMap junior = namedFields();
    read("1;2;3;4;5;6;7;8;9;10;11;12;\r\n", junior, set, Model::DatecsMp50Junior);
    EXPECT_EQ(junior.fieldText("Edit36"), "11");
    EXPECT_EQ(junior.fieldText("Edit37"), "e37");
}

TEST(ParameterLineFile, ShortLineFillsAsFarAsItGoesWithoutComplaint) {
    ParameterMap fields = namedFields();
    const ReadResult result =
        read("5;\r\n", fields, ParameterSet::CashRegisterParameters, Model::DatecsMp550T);
    EXPECT_EQ(result.outcome, ReadOutcome::Complete);
    EXPECT_EQ(fields.fieldText("Edit5"), "5");
    EXPECT_EQ(fields.fieldText("Edit6"), "e6");
    EXPECT_EQ(fields.fieldText("Edit35"), "e35");

    // A last value without its ";" is not taken.
    read("1;2", fields, ParameterSet::ReceiptParameters, Model::Neon);
    EXPECT_EQ(fields.fieldText("Edit15"), "1");
    EXPECT_EQ(fields.fieldText("Edit16"), "e16");
}

TEST(ParameterLineFile, LongerLineLoadsTheValuesTheModelLists) {
    ParameterMap fields = namedFields();
    read("1;2;3;4;5;6;7;8;9;10;11;12;13;\r\n", fields, ParameterSet::CashRegisterParameters,
         Model::Neon);
    EXPECT_EQ(fields.fieldText("Edit19"), "11");
    EXPECT_EQ(fields.fieldText("Edit24"), "12");
    EXPECT_EQ(fields.fieldText("Edit35"), "e35");
}

TEST(ParameterLineFile, EmptyFileOrEmptyLineChangesNothing) {
    for (const QByteArray bytes : {"", "\r\n1;2;\r\n", "\n"}) {
        ParameterMap fields = namedFields();
        const ReadResult result =
            read(bytes, fields, ParameterSet::ReceiptParameters, Model::DatecsMp550T);
        EXPECT_EQ(result.outcome, ReadOutcome::EndOfFile);
        EXPECT_EQ(fields.fieldText("Edit15"), "e15");
    }
}

TEST(ParameterLineFile, ValuesAreReadVerbatimAndControlCharactersAreNotWrittenBack) {
    ParameterMap fields;
    read("\x80\xff \r;\t;\r\n", fields, ParameterSet::ReceiptParameters, Model::DatecsMp550T);
    EXPECT_EQ(fields.fieldText("Edit15"), QString::fromUtf8("Ђя \r"));
    EXPECT_EQ(fields.fieldText("Edit16"), "\t");

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const WriteResult result = writeParameterLine(
        fields, parameterFileLayout(ParameterSet::ReceiptParameters, Model::DatecsMp550T), buffer);
    EXPECT_EQ(result.outcome, WriteOutcome::ControlCharacter);
    EXPECT_EQ(writeFailureDetail(result), "Строка 1, значение 1: управляющий символ U+000D.");
    EXPECT_TRUE(bytes.isEmpty());

    fields.setFieldText("Edit15", QString::fromUtf8("Ђя "));
    fields.setFieldText("Edit16", "");
    EXPECT_EQ(write(fields, ParameterSet::ReceiptParameters, Model::DatecsMp550T),
              "\x80\xff ;;;;;;;;\r\n");
}

}  // namespace
}  // namespace tabulon::files
