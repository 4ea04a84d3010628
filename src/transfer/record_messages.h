#pragma once

#include <QString>
#include <QStringView>

#include "catalogue/table_kind.h"

namespace tabulon {

// What the user reads when a record cannot be built or a reply cannot be
// taken. The tables are named by their tab captions, the columns by their
// headers, the parameter fields by their labels.

// A reply carrying more fields than the table has columns.
QString badReplyMessage();

QString rowTooLongMessage(TableKind kind, int row, int commandBytes);
QString parametersTooLongMessage(ParameterSet set, int commandBytes);

// `at` is the position in `text` of the character Windows-1251 cannot carry.
QString cellNotInCodePageMessage(TableKind kind, int row, int column, QStringView text,
                                 qsizetype at);
QString fieldNotInCodePageMessage(ParameterSet set, const QString& fieldLabel, QStringView text,
                                  qsizetype at);

}  // namespace tabulon
