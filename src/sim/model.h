#pragma once

#include <QString>
#include <optional>

namespace tabulon::sim {

// The three register models; the numbering is that of the model box.
enum class Model { Mp550T = 0, Mp50Junior = 1, Neon = 2 };

// A model as the program's command line names it: the names the catalogue
// knows, in any letter case and with blanks around them.
std::optional<Model> modelFromName(const QString& name);
// "Datecs MP-550T", "Datecs MP-50 Junior", "Neon".
QString modelName(Model model);

}  // namespace tabulon::sim
