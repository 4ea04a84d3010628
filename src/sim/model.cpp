#include "sim/model.h"

namespace tabulon::sim {

std::optional<Model> modelFromName(const QString& name) {
    // tabulon-sim has always taken "Neon" and " neon " as well.
    return tabulon::modelFromName(name.trimmed().toLower());
}

}  // namespace tabulon::sim
