#pragma once

#include <QString>
#include <QStringView>

#include "catalogue/table_kind.h"

namespace tabulon {

// What the user reads when a record cannot be built or a reply cannot be
// taken. The tables are named by their tab captions, the columns by their
// headers, the parameter fields by their labels.

// Why a character cannot go into a record.
enum class CharacterProblem {
    NotInCodePage,  // Windows-1251 has no byte for it
    Control,        // a control character: the line cannot carry it
};

// The English of the messages below, for the command line: rows and columns
// by number, "row 7000, column 3: <what is wrong>".
QString cellProblemEnglish(int row, int column, const QString& what);
QString fieldProblemEnglish(int field, const QString& what);
QString characterProblemEnglish(CharacterProblem problem, QStringView text, qsizetype at);
QString tooLongEnglish(int commandBytes);

// A reply carrying more fields than the table has columns.
QString badReplyMessage();

// Follows the conversion error of a price or quantity: where the text is.
QString cellNotANumberMessage(TableKind kind, int row, int column, const QString& text);

QString rowTooLongMessage(TableKind kind, int row, int commandBytes);
QString parametersTooLongMessage(ParameterSet set, int commandBytes);

// `at` is the position in `text` of the character that cannot go.
QString cellRefusalMessage(CharacterProblem problem, TableKind kind, int row, int column,
                           QStringView text, qsizetype at);
QString fieldRefusalMessage(CharacterProblem problem, ParameterSet set, const QString& fieldLabel,
                            QStringView text, qsizetype at);

}  // namespace tabulon
