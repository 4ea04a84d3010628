#pragma once

#include <QByteArray>
#include <QStringList>

#include "catalogue/model.h"
#include "catalogue/parameter_values.h"
#include "catalogue/table_kind.h"
#include "transfer/built_record.h"

namespace tabulon {

// The record of a parameter tab. `texts` are the edit field texts of the set in
// record order (parameterFieldNames); the model decides how many of them the
// record holds. Each text loses blanks and control characters at both ends.
// Refused, with nothing to send, when a character has no Windows-1251 byte or
// the write command would pass what the link takes.
BuiltRecord BuildParameterRecord(ParameterSet set, const QStringList& texts, Model model);
BuiltRecord BuildParameterRecord(ParameterSet set, const ParameterValues& fields, Model model);

// The texts a reply carries for the leading edit fields of the set, in record
// order. The first field not closed by ";" ends them, so that field and the
// later ones keep their texts; fields beyond the model's last are ignored.
QStringList ParseParameterRecord(ParameterSet set, const QByteArray& reply, Model model);
// The same, put into the edit fields.
void ParseParameterRecord(ParameterSet set, const QByteArray& reply, Model model,
                          ParameterValues& fields);

}  // namespace tabulon
