#pragma once

#include <QByteArray>
#include <QDialog>
#include <memory>

#include "import/import_plan.h"

namespace Ui {
class ImportPreviewForm;
}

class QComboBox;

namespace tabulon::app {

// What "Открыть" shows for a spreadsheet's file before anything changes: the
// encoding, delimiter, heading line and row placement it found, each in a box
// to change; where each file column goes; the first rows as the grid will
// hold them; the table columns the file lacks; and every refusal and warning
// with its line. Each change plans the import anew. "OK" is there only while
// nothing is refused.
class ImportPreview : public QDialog {
    Q_OBJECT
public:
    // `choices`: what to start from (a column list remembered for the
    // file's headings); `grid` is the table as it stands.
    ImportPreview(QByteArray bytes, TableKind kind, Model model, const GridModel& grid,
                  import::ImportChoices choices, QWidget* parent = nullptr);
    ~ImportPreview() override;

    // The plan as the boxes stand now.
    const import::ImportPlan& plan() const { return plan_; }
    // The user picked a table column for a file column.
    bool columnsChosen() const { return columnsChosen_; }

    // The first rows the preview shows.
    static constexpr int kShownRows = 20;

private:
    void replan();
    void showPlan();
    void showColumns();
    void showRows();
    void showProblems();
    void encodingChosen(int index);
    void delimiterChosen(int index);
    void headerChosen(bool header);
    void rowsChosen(int index);
    void columnChosen();
    QComboBox* columnBox(int fileColumn) const;

    std::unique_ptr<Ui::ImportPreviewForm> ui;
    QByteArray bytes_;
    TableKind kind_;
    Model model_;
    const GridModel& grid_;
    import::ImportChoices choices_;
    import::ImportPlan plan_;
    bool columnsChosen_ = false;
};

}  // namespace tabulon::app
