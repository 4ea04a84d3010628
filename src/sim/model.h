#pragma once

#include "catalogue/model.h"

namespace tabulon::sim {

// The simulator plays the catalogue's models, named as everywhere else.
using tabulon::Model;
using tabulon::modelFromName;
using tabulon::modelName;

}  // namespace tabulon::sim
