#pragma once

#include "catalogue/grid_model.h"
#include "catalogue/parameter_values.h"
#include "file_test_support.h"
#include "files/table_file_commands.h"
#include "support/command_fixture.h"

namespace tabulon::files::testing {

// The window state the file commands work on: the five grids, the parameter
// fields, scripted dialogs, the progress bar and the file-name label, with a
// fresh current directory.
class FileCommandTest : public tabulon::testing::CommandFixture {
protected:
    FileCommandTest() {
        for (int tab = 0; tab < kGridTableCount; ++tab) grids_[tab] = makeGrid(tableKindOfTab(tab));
    }

    TableFileContext context(int tab, Model model = Model::DatecsMp550T) {
        return {
            tab,
            model,
            {grids_[0].get(), grids_[1].get(), grids_[2].get(), grids_[3].get(), grids_[4].get()},
            fields_,
            dialogs_,
            {[this] {
                 progress_ = 0;
                 ++resets_;
             },
             [this] {
                 ++progress_;
                 ++steps_;
             }},
            [this](const QString& name) { label_ = name; },
            saveFileFactory_};
    }

    FileCommandResult open(int tab, Model model, const std::optional<QString>& name) {
        dialogs_.fileNames.enqueue(name);
        return openTableFile(context(tab, model));
    }
    FileCommandResult save(int tab, Model model, const std::optional<QString>& name) {
        dialogs_.fileNames.enqueue(name);
        return saveTableFile(context(tab, model));
    }

    GridModel& grid(TableKind kind) { return *grids_[static_cast<int>(kind)]; }

    std::unique_ptr<GridModel> grids_[kGridTableCount];
    ParameterMap fields_;
    SaveFileFactory saveFileFactory_;
    int progress_ = -1;  // -1: never reset
    int resets_ = 0;
    int steps_ = 0;
    QString label_ = "label before";
};

}  // namespace tabulon::files::testing
