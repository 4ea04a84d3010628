#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include "catalogue/model.h"
#include "catalogue/table_kind.h"

namespace tabulon {

// One labelled field of a parameter tab, as the window shows it at start-up.
struct ParameterField {
    QString edit;       // "Edit5"
    QString label;      // "Label9"
    QString labelText;  // start-up caption of the label
    QStringList hints;  // lines of the pop-up hint
};

// A parameter tab: fields top to bottom, left column first. The order is also
// the order of the values in the register record and in the table file.
struct ParameterTab {
    ParameterSet set;
    QVector<ParameterField> fields;
    int leftColumnCount;  // how many of the fields stand in the left column
};

const ParameterTab& parameterTab(ParameterSet set);

// The names of the fields of a set in record order ("Edit5", "Edit6", ...).
QStringList parameterFieldNames(ParameterSet set);

// The leading fields of a set that the model has: the fields of its register
// record, in record order. The table files derive their lines from these.
QStringList parameterFieldNames(ParameterSet set, Model model);

}  // namespace tabulon
