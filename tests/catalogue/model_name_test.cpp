#include <gtest/gtest.h>

#include "catalogue/model.h"

namespace tabulon {
namespace {

TEST(ModelName, TheNamesACommandLineGivesAModel) {
    const struct {
        QString name;
        std::optional<Model> model;
    } rows[] = {
        {"mp-550t", Model::DatecsMp550T},
        {"mp550t", Model::DatecsMp550T},
        {"0", Model::DatecsMp550T},
        {"mp-50-junior", Model::DatecsMp50Junior},
        {"mp-50", Model::DatecsMp50Junior},
        {"mp50", Model::DatecsMp50Junior},
        {"1", Model::DatecsMp50Junior},
        {"neon", Model::Neon},
        {"2", Model::Neon},
        // In any letter case, blanks around it or not.
        {"Neon", Model::Neon},
        {" MP-550T", Model::DatecsMp550T},
        {"Mp50\t", Model::DatecsMp50Junior},
        // Not a model.
        {"", std::nullopt},
        {"3", std::nullopt},
        {"-1", std::nullopt},
        {"00", std::nullopt},
        {"mp-60", std::nullopt},
        {"mp-50-", std::nullopt},
        {"mp-50 junior", std::nullopt},
        {"n eon", std::nullopt},
        {"neon2", std::nullopt},
    };
    for (const auto& row : rows)
        EXPECT_EQ(modelFromName(row.name), row.model) << qPrintable(row.name);
}

}  // namespace
}  // namespace tabulon
