#include "catalogue/model.h"

namespace tabulon {

QString modelName(Model model) {
    switch (model) {
        case Model::DatecsMp550T:
            return QStringLiteral("Datecs MP-550T");
        case Model::DatecsMp50Junior:
            return QStringLiteral("Datecs MP-50 Junior");
        case Model::Neon:
            return QStringLiteral("Neon");
    }
    return {};
}

int goodsCount(Model model) {
    // The MP-50 Junior holds half as many articles as the others.
    return model == Model::DatecsMp50Junior ? 5000 : 10000;
}

std::optional<Model> modelFromIndex(int index) {
    if (index < 0 || index >= kModelCount) return std::nullopt;
    return static_cast<Model>(index);
}

}  // namespace tabulon
