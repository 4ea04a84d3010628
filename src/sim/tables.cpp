#include "sim/tables.h"

#include <QList>
#include <array>

namespace tabulon::sim {

namespace {

int goodsRecords(Model model) {
    return model == Model::DatecsMp50Junior ? 5000 : 10000;
}

int cashParameterFields(Model model) {
    switch (model) {
        case Model::DatecsMp550T:
            return 13;
        case Model::DatecsMp50Junior:
            return 11;
        case Model::Neon:
            return 12;
    }
    return 13;
}

QList<QByteArray> completeFields(QByteArrayView data) {
    QList<QByteArray> fields = data.toByteArray().split(';');
    fields.removeLast();  // text after the last ";" is not a field
    return fields;
}

const TableShape* findShape(const std::array<TableShape, 16>& shapes, int table) {
    for (const TableShape& shape : shapes) {
        if (shape.table == table) return &shape;
    }
    return nullptr;
}

}  // namespace

const TableShape* RegisterTables::shape(int table) const {
    static const auto shapesFor = [](Model model) {
        return std::array<TableShape, 16>{{
            {0, goodsRecords(model), 10, true},
            {2, 1, cashParameterFields(model), true},
            {3, 20, 3, true},
            {5, 1, 8, true},
            {6, 12, 1, true},
            {8, 1, model == Model::DatecsMp50Junior ? 12 : 11, true},
            {9, 5, 5, true},
            {10, 20, 1, true},
            {136, 200, 24, true},
            {65, goodsRecords(model), 4, false},
            {74, 20, 3, false},
            {75, 99, 3, false},
            {76, 20, 4, false},
            {77, 1, 10, false},
            {78, 1, 12, false},
            {79, 1, 7, false},
        }};
    };
    static const std::array<std::array<TableShape, 16>, 3> all{
        shapesFor(Model::DatecsMp550T), shapesFor(Model::DatecsMp50Junior), shapesFor(Model::Neon)};
    return findShape(all[int(model_)], table);
}

Refusal RegisterTables::check(int table, int record) const {
    const TableShape* found = shape(table);
    if (!found) return Refusal::UnknownTable;
    if (record < 1 || record > found->records) return Refusal::RecordOutOfRange;
    return Refusal::None;
}

Refusal RegisterTables::read(int table, int record, QByteArray& fields) const {
    if (const Refusal refusal = check(table, record); refusal != Refusal::None) return refusal;
    const auto it = written_.find({table, record});
    fields = it != written_.end() ? it->second : defaultRecord(model_, table, record);
    return Refusal::None;
}

Refusal RegisterTables::write(int table, int record, QByteArrayView data) {
    if (const Refusal refusal = check(table, record); refusal != Refusal::None) return refusal;
    const TableShape* found = shape(table);
    if (!found->writable) return Refusal::ReadOnlyTable;
    const QList<QByteArray> incoming = completeFields(data);
    if (incoming.isEmpty()) return Refusal::NoFields;

    QByteArray current;
    read(table, record, current);
    QList<QByteArray> fields = completeFields(current);
    while (fields.size() < found->fields) fields.append(QByteArray());
    for (qsizetype i = 0; i < incoming.size() && i < found->fields; ++i) fields[i] = incoming[i];

    QByteArray stored;
    for (const QByteArray& field : fields) stored += field + ';';
    written_[{table, record}] = stored;
    return Refusal::None;
}

}  // namespace tabulon::sim
