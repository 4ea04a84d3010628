#pragma once

#include <QString>
#include <QStringList>

#include "catalogue/table_kind.h"

namespace tabulon {

// One grid of the window as it stands after start-up. Sizes count the fixed
// header row and the fixed label column, as the grid itself does.
struct GridShape {
    TableKind kind;
    QString objectName;  // "StringGrid1" ...
    int columns;
    int rows;
    int rowHeight;
    QStringList headers;  // row 0, from column 0
};

const GridShape& gridShape(TableKind kind);

// The start-up label of a row (column 0); row 0 is the header row.
QString startupRowLabel(TableKind kind, int row);

// Captions of the ten tabs, by index.
const QStringList& tabCaptions();

}  // namespace tabulon
