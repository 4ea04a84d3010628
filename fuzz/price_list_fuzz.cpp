// The importer of spreadsheet files. The first byte picks the table and the
// model, the rest is the file. Whatever the bytes, every row of a plan lies
// in the table, and a plan with no refusal holds only rows the register
// takes; such a plan goes into a grid and out again as CSV.
#include "catalogue/grid_catalogue.h"
#include "catalogue/grid_model.h"
#include "files/file_layout.h"
#include "fuzz_check.h"
#include "import/csv_export.h"
#include "import/import_plan.h"
#include "table_choice.h"
#include "transfer/table_record.h"

using namespace tabulon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Choices choices(data, size);
    const fuzz::TableChoice choice = fuzz::chooseTable(choices);
    const TableKind kind = tableKindOfTab(choice.tab % kGridTableCount);
    const GridShape& shape = gridShape(kind);
    GridModel grid(shape.columns, shape.rows);
    const import::ImportPlan plan =
        import::planImport(fuzz::bytesOf(data, size), kind, choice.model, {}, grid);

    const int rows = files::gridFileLayout(kind, choice.model).lines;
    for (const import::ImportedRow& row : plan.imported) {
        FUZZ_CHECK(row.row >= 1 && row.row <= rows);
        if (!plan.refused())
            FUZZ_CHECK(BuildTableRecord(kind, row.cells, choice.model, {row.row, row.row}).ok());
    }
    if (!plan.refused()) {
        import::applyImport(plan, grid);
        const QByteArray csv = import::exportDelimited(grid, kind, choice.model, false);
        FUZZ_CHECK(csv.startsWith("\xEF\xBB\xBF"));
    }
    return 0;
}
