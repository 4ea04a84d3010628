#include "sim/model.h"

namespace tabulon::sim {

std::optional<Model> modelFromName(const QString& name) {
    const QString key = name.trimmed().toLower();
    if (key == u"mp-550t" || key == u"mp550t" || key == u"0") return Model::Mp550T;
    if (key == u"mp-50-junior" || key == u"mp-50" || key == u"mp50" || key == u"1")
        return Model::Mp50Junior;
    if (key == u"neon" || key == u"2") return Model::Neon;
    return std::nullopt;
}

QString modelName(Model model) {
    switch (model) {
        case Model::Mp550T:
            return QStringLiteral("Datecs MP-550T");
        case Model::Mp50Junior:
            return QStringLiteral("Datecs MP-50 Junior");
        case Model::Neon:
            return QStringLiteral("Neon");
    }
    return {};
}

}  // namespace tabulon::sim
