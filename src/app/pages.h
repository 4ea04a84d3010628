#pragma once

#include <QHash>
#include <QString>

#include "catalogue/table_kind.h"

class QLabel;
class QLineEdit;
class QWidget;

namespace tabulon::app {

class EntryRefusals;

// The generated controls of the parameter tabs, by object name ("Edit5",
// "Label9"), as they were made.
struct ParameterControls {
    QHash<QString, QLineEdit*> fields;
    QHash<QString, QLabel*> labels;
};

// Fills a parameter tab with its labelled fields, as the catalogue lists them,
// and adds them to controls.
void buildParameterPage(QWidget* page, ParameterSet set, EntryRefusals* refusals,
                        ParameterControls& controls);

}  // namespace tabulon::app
