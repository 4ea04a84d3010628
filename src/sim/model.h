#pragma once

#include <QString>
#include <optional>

#include "catalogue/model.h"

namespace tabulon::sim {

// The simulator plays the catalogue's models.
using tabulon::Model;
using tabulon::modelName;

// A model as the program's command line names it: the names the catalogue
// knows, in any letter case and with blanks around them.
std::optional<Model> modelFromName(const QString& name);

}  // namespace tabulon::sim
