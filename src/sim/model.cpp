#include "sim/model.h"

#include "catalogue/model.h"

namespace tabulon::sim {

// The simulator's models are numbered as the catalogue's (the order of the
// model box), so the two convert by number.
std::optional<Model> modelFromName(const QString& name) {
    // tabulon-sim has always taken "Neon" and " neon " as well.
    const std::optional<tabulon::Model> model = tabulon::modelFromName(name.trimmed().toLower());
    if (!model) return std::nullopt;
    return static_cast<Model>(static_cast<int>(*model));
}

QString modelName(Model model) {
    return tabulon::modelName(static_cast<tabulon::Model>(static_cast<int>(model)));
}

}  // namespace tabulon::sim
