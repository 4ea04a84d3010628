#pragma once

#include "catalogue/table_kind.h"

class QWidget;

namespace tabulon::app {

class EntryValidator;

// The controls of the tabs and groups of the main window, each built at its
// place inside the given parent.
void buildParameterPage(QWidget* page, ParameterSet set, EntryValidator* validator);
void buildLogoPage(QWidget* page);
void buildReportsPage(QWidget* page);
void buildConnectionGroup(QWidget* group);
void buildCodingIntervalGroup(QWidget* group);

}  // namespace tabulon::app
