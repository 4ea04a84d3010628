#include "app/import_preview.h"

#include <QComboBox>
#include <QSignalBlocker>

#include "import/column_names.h"
#include "import/delimited_text.h"
#include "transfer/register_tables.h"
#include "ui_import_preview.h"

namespace tabulon::app {

namespace {

using import::ImportProblem;

QString missingText(const import::ImportPlan& plan) {
    if (plan.missing.isEmpty()) return QStringLiteral("В файле есть все столбцы таблицы.");
    QStringList headings;
    for (int column : plan.missing) headings << import::columnHeading(plan.kind, column);
    return QStringLiteral(
               "Нет в файле: %1. Их значения берутся из таблицы (строк: %2), а в пустых "
               "строках - как в очищенной кассе (строк: %3).")
        .arg(headings.join(QStringLiteral(", ")))
        .arg(plan.rowsKept)
        .arg(plan.rowsCleared);
}

QString problemText(const ImportProblem& problem) {
    return (problem.kind == ImportProblem::Kind::Refusal ? QStringLiteral("Ошибка: ")
                                                         : QStringLiteral("Предупреждение: ")) +
           problem.message;
}

}  // namespace

ImportPreview::ImportPreview(QByteArray bytes, TableKind kind, Model model, const GridModel& grid,
                             import::ImportChoices choices, QWidget* parent)
    : QDialog(parent),
      ui(std::make_unique<Ui::ImportPreviewForm>()),
      bytes_(std::move(bytes)),
      kind_(kind),
      model_(model),
      grid_(grid),
      choices_(std::move(choices)),
      plan_(import::planImport(bytes_, kind_, model_, choices_, grid_)) {
    ui->setupUi(this);
    ui->StringGridColumns->setColumnCount(2);
    ui->StringGridColumns->setHorizontalHeaderLabels(
        {QStringLiteral("Столбец файла"), QStringLiteral("Столбец таблицы")});
    ui->StringGridColumns->horizontalHeader()->setStretchLastSection(true);
    ui->StringGridColumns->verticalHeader()->hide();
    QStringList headings{import::columnHeading(kind_, import::kRowNumberColumn)};
    for (int column = 1; column <= registerTable(kind_).dataColumns; ++column)
        headings << import::columnHeading(kind_, column);
    // Rows of one line, as the window's grids show them; the boxes need
    // their own height.
    ui->StringGridRows->setWordWrap(false);
    ui->StringGridRows->verticalHeader()->setDefaultSectionSize(20);
    ui->StringGridRows->horizontalHeader()->setDefaultSectionSize(80);
    ui->StringGridColumns->verticalHeader()->setDefaultSectionSize(24);
    ui->StringGridRows->setColumnCount(int(headings.size()));
    ui->StringGridRows->setHorizontalHeaderLabels(headings);
    showPlan();
    connect(ui->ComboBoxEncoding, &QComboBox::activated, this, &ImportPreview::encodingChosen);
    connect(ui->ComboBoxDelimiter, &QComboBox::activated, this, &ImportPreview::delimiterChosen);
    connect(ui->CheckBoxHeader, &QCheckBox::toggled, this, &ImportPreview::headerChosen);
    connect(ui->ComboBoxRows, &QComboBox::activated, this, &ImportPreview::rowsChosen);
    connect(ui->ButtonOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

ImportPreview::~ImportPreview() = default;

void ImportPreview::replan() {
    plan_ = import::planImport(bytes_, kind_, model_, choices_, grid_);
    showPlan();
}

// The encoding, delimiter and heading line change what the columns are: the
// columns are found anew for them.
void ImportPreview::encodingChosen(int index) {
    choices_.encoding = static_cast<import::Encoding>(index);
    choices_.columns.reset();
    columnsChosen_ = false;
    replan();
}

void ImportPreview::delimiterChosen(int index) {
    choices_.delimiter = import::kDelimiters[index];
    choices_.columns.reset();
    columnsChosen_ = false;
    replan();
}

void ImportPreview::headerChosen(bool header) {
    choices_.header = header;
    choices_.columns.reset();
    columnsChosen_ = false;
    replan();
}

void ImportPreview::rowsChosen(int index) {
    choices_.rows = index == 0 ? import::RowPlacement::ByCode : import::RowPlacement::InOrder;
    replan();
}

void ImportPreview::columnChosen() {
    QList<int> columns;
    for (int i = 0; i < ui->StringGridColumns->rowCount(); ++i)
        columns << columnBox(i)->currentData().toInt();
    choices_.columns = columns;
    columnsChosen_ = true;
    replan();
}

QComboBox* ImportPreview::columnBox(int fileColumn) const {
    return static_cast<QComboBox*>(ui->StringGridColumns->cellWidget(fileColumn, 1));
}

void ImportPreview::showPlan() {
    const import::ImportPlan& plan = plan_;
    {
        const QSignalBlocker encoding(ui->ComboBoxEncoding);
        const QSignalBlocker delimiter(ui->ComboBoxDelimiter);
        const QSignalBlocker header(ui->CheckBoxHeader);
        const QSignalBlocker rows(ui->ComboBoxRows);
        ui->ComboBoxEncoding->setCurrentIndex(static_cast<int>(plan.encoding));
        for (int i = 0; i < int(std::size(import::kDelimiters)); ++i)
            if (import::kDelimiters[i] == plan.delimiter) ui->ComboBoxDelimiter->setCurrentIndex(i);
        ui->CheckBoxHeader->setChecked(plan.header);
        ui->ComboBoxRows->setCurrentIndex(plan.rows == import::RowPlacement::ByCode ? 0 : 1);
    }
    showColumns();
    showRows();
    ui->LabelMissing->setText(missingText(plan));
    showProblems();
    ui->ButtonOk->setEnabled(!plan.refused());
}

void ImportPreview::showColumns() {
    QTableWidget* table = ui->StringGridColumns;
    const int count = int(plan_.fileColumns.size());
    // The boxes stay while the file's columns do: the one the user is
    // choosing in must outlive the plan its choice makes.
    bool same = table->rowCount() == count;
    for (int i = 0; same && i < count; ++i)
        same = table->item(i, 0) && table->item(i, 0)->text() == plan_.fileColumns[i];
    if (!same) {
        table->setRowCount(count);
        for (int i = 0; i < count; ++i) {
            table->setItem(i, 0, new QTableWidgetItem(plan_.fileColumns[i]));
            auto* box = new QComboBox(table);
            box->setObjectName(QStringLiteral("ComboBoxColumn%1").arg(i + 1));
            box->addItem(QStringLiteral("не загружать"), import::kIgnoredColumn);
            box->addItem(import::columnHeading(kind_, import::kRowNumberColumn),
                         import::kRowNumberColumn);
            for (int column = 1; column <= registerTable(kind_).dataColumns; ++column)
                box->addItem(import::columnHeading(kind_, column), column);
            connect(box, &QComboBox::activated, this, &ImportPreview::columnChosen);
            table->setCellWidget(i, 1, box);
        }
    }
    for (int i = 0; i < count; ++i) {
        QComboBox* box = columnBox(i);
        const QSignalBlocker blocker(box);
        box->setCurrentIndex(box->findData(plan_.columns.value(i, import::kIgnoredColumn)));
    }
}

void ImportPreview::showRows() {
    QTableWidget* table = ui->StringGridRows;
    const int shown = int(std::min<qsizetype>(plan_.imported.size(), kShownRows));
    table->setRowCount(shown);
    QStringList lines;
    for (int r = 0; r < shown; ++r) {
        const import::ImportedRow& row = plan_.imported[r];
        lines << QString::number(row.line);
        table->setItem(r, 0, new QTableWidgetItem(QString::number(row.row)));
        for (int c = 0; c < row.cells.size() && c + 1 < table->columnCount(); ++c)
            table->setItem(r, c + 1, new QTableWidgetItem(row.cells[c]));
    }
    // The file's line beside each row, as the problems name them.
    table->setVerticalHeaderLabels(lines);
}

void ImportPreview::showProblems() {
    ui->ListBoxProblems->clear();
    for (const ImportProblem& problem : plan_.problems)
        ui->ListBoxProblems->addItem(problemText(problem));
}

}  // namespace tabulon::app
