#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace tabulon {

// The register models, in the order of the model list of the window.
enum class Model { DatecsMp550T = 0, DatecsMp50Junior = 1, Neon = 2 };

inline constexpr int kModelCount = 3;

// "Datecs MP-550T", "Datecs MP-50 Junior", "Neon".
QString modelName(Model model);

// Articles the model's goods table holds (and its table file carries).
int goodsCount(Model model);

// The model at a list position; nullopt outside 0-2 (no entry selected).
std::optional<Model> modelFromIndex(int index);

// The model a command line or a fleet file names: "mp-550t", "mp-50-junior"
// or "neon", the short forms "mp550t", "mp-50" and "mp50", or the list
// position "0" to "2"; in any letter case, with blanks around it or not.
std::optional<Model> modelFromName(QStringView name);

}  // namespace tabulon
