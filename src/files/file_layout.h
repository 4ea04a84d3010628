#pragma once

#include <QString>
#include <QStringList>

#include "catalogue/model.h"
#include "catalogue/table_kind.h"

namespace tabulon::files {

// How many lines a grid table file holds and how many values each line has.
// The line count ignores how many rows the model shows: hidden rows are kept
// in the grid and go into the file with the others.
struct GridFileLayout {
    int lines;   // rows 1..lines of the grid
    int values;  // columns 1..values of the grid
};

GridFileLayout gridFileLayout(TableKind kind, Model model);

// The one line of a parameter file: the fields in line order, then a number of
// empty values that stand for fields the model does not have.
struct ParameterFileLayout {
    QStringList fields;  // "Edit5", ...
    int emptyTail = 0;
};

ParameterFileLayout parameterFileLayout(ParameterSet set, Model model);

}  // namespace tabulon::files
