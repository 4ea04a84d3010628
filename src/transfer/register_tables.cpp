#include "transfer/register_tables.h"

#include "catalogue/parameter_catalogue.h"

namespace tabulon {

namespace {

constexpr int index(Model model) {
    return static_cast<int>(model);
}

// Per model, in the order of Model: Datecs MP-550T, Datecs MP-50 Junior, Neon.
constexpr std::array<RecordRange, kModelCount> everyModel(RecordRange range) {
    return {range, range, range};
}
constexpr std::array<int, kModelCount> everyModel(int value) {
    return {value, value, value};
}

constexpr std::array<int, kModelCount> kNoCut{0, 0, 0};

RecordField asIs(int column) {
    return {column, FieldRule::AsIs, kNoCut};
}
RecordField cut(int column, int length) {
    return {column, FieldRule::Cut, everyModel(length)};
}
RecordField cutOrZero(int column, int length) {
    return {column, FieldRule::CutZeroIfEmpty, everyModel(length)};
}

std::array<RecordRange, kModelCount> goodsRecords() {
    return {RecordRange{1, goodsCount(Model::DatecsMp550T)},
            RecordRange{1, goodsCount(Model::DatecsMp50Junior)},
            RecordRange{1, goodsCount(Model::Neon)}};
}

const std::array<GridTable, kGridTableCount>& gridTables() {
    static const std::array<GridTable, kGridTableCount> tables{{
        {TableKind::Goods,
         0,
         goodsRecords(),
         goodsRecords(),
         10,
         10,
         {asIs(1),
          {2, FieldRule::Cut, {32, 32, 40}},  // Neon prints longer names
          {3, FieldRule::Price, kNoCut},
          {4, FieldRule::Quantity, kNoCut},
          asIs(5),
          asIs(6),
          asIs(7),
          asIs(8),
          asIs(9),
          cutOrZero(10, 13)}},  // EAN-13
        {TableKind::Operators,
         3,
         everyModel({1, 20}),
         everyModel({1, 20}),
         3,
         3,
         {asIs(1), cut(2, 8), cut(3, 10), {0, FieldRule::Zero, kNoCut}}},
        {TableKind::PaymentTypes,
         9,
         {RecordRange{2, 5}, RecordRange{2, 5}, RecordRange{2, 4}},
         everyModel({1, 5}),
         5,
         5,
         {cutOrZero(1, 1), cutOrZero(2, 1), cut(3, 20), cutOrZero(4, 1), cutOrZero(5, 1)}},
        {TableKind::Departments, 10, everyModel({1, 20}), everyModel({1, 20}), 1, 1, {cut(1, 22)}},
        // Twelve lines whatever the model shows: the lines a model does not
        // show are still sent.
        {TableKind::HeaderText, 6, everyModel({1, 12}), everyModel({1, 12}), 1, 1, {cut(1, 38)}},
    }};
    return tables;
}

const std::array<ParameterTable, 3>& parameterTables() {
    static const std::array<ParameterTable, 3> tables{{
        {ParameterSet::CashRegisterParameters, 2, 1},
        {ParameterSet::ReceiptParameters, 5, 1},
        {ParameterSet::ServiceParameters, 8, 1},
    }};
    return tables;
}

}  // namespace

const GridTable& registerTable(TableKind kind) {
    return gridTables()[static_cast<int>(kind)];
}

const ParameterTable& registerTable(ParameterSet set) {
    return parameterTables()[static_cast<int>(set) -
                             static_cast<int>(ParameterSet::CashRegisterParameters)];
}

RecordRange writtenRecords(TableKind kind, Model model) {
    return registerTable(kind).written[index(model)];
}

RecordRange clearedRecords(TableKind kind, Model model) {
    return writtenRecords(kind, model);
}

RecordRange readRecords(TableKind kind, Model model) {
    return registerTable(kind).read[index(model)];
}

QStringList parameterRecordFields(ParameterSet set, Model model) {
    return parameterFieldNames(set, model);
}

}  // namespace tabulon
