#include "catalogue/model.h"

namespace tabulon {

namespace {

struct ModelName {
    const char16_t* name;
    Model model;
};

// The full names are the ones the help texts offer; the short forms and the
// list positions are kept for the scripts that use them.
constexpr ModelName kModelNames[] = {
    {u"mp-550t", Model::DatecsMp550T},
    {u"mp550t", Model::DatecsMp550T},
    {u"0", Model::DatecsMp550T},
    {u"mp-50-junior", Model::DatecsMp50Junior},
    {u"mp-50", Model::DatecsMp50Junior},
    {u"mp50", Model::DatecsMp50Junior},
    {u"1", Model::DatecsMp50Junior},
    {u"neon", Model::Neon},
    {u"2", Model::Neon},
};

}  // namespace

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

std::optional<Model> modelFromName(QStringView name) {
    const QStringView written = name.trimmed();
    for (const ModelName& known : kModelNames) {
        if (written.compare(QStringView(known.name), Qt::CaseInsensitive) == 0) return known.model;
    }
    return std::nullopt;
}

}  // namespace tabulon
