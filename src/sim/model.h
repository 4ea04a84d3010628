#pragma once

#include <QString>
#include <optional>

namespace tabulon::sim {

// The three register models; the numbering is that of the model box.
enum class Model { Mp550T = 0, Mp50Junior = 1, Neon = 2 };

// "mp-550t", "mp-50-junior" or "neon" (case ignored; also 0, 1, 2 and the
// short forms "mp550t", "mp50").
std::optional<Model> modelFromName(const QString& name);
QString modelName(Model model);

}  // namespace tabulon::sim
