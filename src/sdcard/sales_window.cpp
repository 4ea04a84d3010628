#include "sdcard/sales_window.h"

#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QResizeEvent>
#include <QShowEvent>
#include <algorithm>

#include "catalogue/entry_rule.h"
#include "catalogue/grid_model.h"
#include "dialogs/dialogs.h"
#include "sdcard/grid_headers.h"
#include "sdcard/sdcard_commands.h"
#include "sdcard/sdcard_texts.h"
#include "ui_sales_window.h"

namespace tabulon::sdcard {

namespace {
constexpr int kRowHeight = 16;
}

SalesWindow::SalesWindow(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::SalesWindow>()),
      dialogs_(dialogs),
      grid_(new GridModel(kSalesColumns, kSalesRows, this)) {
    ui_->setupUi(this);
    setUpGrid();
    applyColumnWidths(kDesignedColumnWidths);

    auto* picker = ui_->DirectoryEdit1->addAction(style()->standardIcon(QStyle::SP_DirOpenIcon),
                                                  QLineEdit::TrailingPosition);
    picker->setObjectName("DirectoryEdit1Picker");
    picker->setToolTip(folderPickerTitle());
    connect(picker, &QAction::triggered, this, &SalesWindow::pickDirectory);

    connect(ui_->Button1, &QPushButton::clicked, this, &SalesWindow::Button1Click);
    connect(ui_->Button3, &QPushButton::clicked, this, &SalesWindow::Button3Click);
    connect(ui_->Button2, &QPushButton::clicked, this, &SalesWindow::Button2Click);
    // The refusal comes out of the cell editor's commit; the box waits until
    // that has finished.
    connect(
        grid_, &GridModel::entryRefused, this,
        [this](const QString& message) {
            dialogs_.message(message, entryRefusalCaption(), MessageIcon::Warning,
                             MessageButtons::Ok);
        },
        Qt::QueuedConnection);
}

SalesWindow::~SalesWindow() = default;

void SalesWindow::setUpGrid() {
    QTableView* view = ui_->StringGrid1;
    view->setModel(grid_);
    view->setTabKeyNavigation(true);
    view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setUpGridHeaders(*view, *grid_, kRowHeight);
}

void SalesWindow::applyColumnWidths(const SalesColumnWidths& widths) {
    widths_ = widths;
    QHeaderView* header = ui_->StringGrid1->horizontalHeader();
    // No column is narrower than its header's words, in the font the window
    // has now: "Клво прод" and "Клво возв" cut to "Клво" read alike. The
    // grid has room for it.
    const int margins = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    ui_->StringGrid1->verticalHeader()->setFixedWidth(widths[0]);
    for (int column = 1; column < kSalesColumns; ++column)
        ui_->StringGrid1->setColumnWidth(
            column - 1,
            std::max(widths[column],
                     header->fontMetrics().horizontalAdvance(salesHeaders()[column]) + margins));
}

void SalesWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Once per opening: the window system's own show events (the window
    // mapped, restored) would put the working directory back into the field.
    if (!event->spontaneous()) FormActivate();
}

void SalesWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    // The designed layout holds until the user first changes the size; the
    // size given when the window first appears is not such a change.
    if (!event->oldSize().isValid() || !isVisible()) return;
    // The rule speaks of the whole window, frame included.
    const QSize frame = frameGeometry().size() - size();
    const SalesLayout layout = salesLayout(width() + frame.width(), height() + frame.height());
    const QSize accepted(layout.width - frame.width(), layout.height - frame.height());
    // Asked once per size the user chose: a screen or window manager that
    // will not give the accepted size would otherwise be asked again and
    // again.
    if (accepted != size() && accepted != requested_) {
        requested_ = accepted;
        // Comes back here with the accepted size.
        resize(accepted);
        return;
    }
    requested_ = QSize();
    ui_->StringGrid1->resize(layout.gridWidth, ui_->StringGrid1->height());
    applyColumnWidths(layout.columns);
}

void SalesWindow::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // The window's font is given after it is made; the headers want their
    // room in it.
    if (event->type() == QEvent::FontChange) applyColumnWidths(widths_);
}

void SalesWindow::FormActivate() {
    writeSalesFixedCells(*grid_);
    pickerStart_ = QDir::toNativeSeparators(QDir::currentPath());
    ui_->DirectoryEdit1->setText(pickerStart_);
}

void SalesWindow::pickDirectory() {
    if (auto chosen = dialogs_.directoryName(folderPickerTitle(), pickerStart_))
        ui_->DirectoryEdit1->setText(QDir::toNativeSeparators(*chosen));
}

Progress SalesWindow::progress() {
    QProgressBar* bar = ui_->ProgressBar1;
    return {[this, bar] {
                progressPosition_ = 0;
                bar->setValue(0);
            },
            // Past its end the bar starts again from the beginning, so a save
            // before any load still shows movement on 0 to 100. The bar paints
            // itself at once on every change it can show, which costs more
            // than a line of a file: it is brought up to date every tenth line
            // and when the command ends.
            [this, bar] {
                const int next = progressPosition_ + 1;
                progressPosition_ = next > bar->maximum() ? bar->minimum() : next;
                if (progressPosition_ % 10 == 0) bar->setValue(progressPosition_);
            },
            [bar](int maximum) { bar->setRange(0, maximum); }};
}

void SalesWindow::Button1Click() {
    repaint();
    loadCardFilesCommand({ui_->DirectoryEdit1->text(), *grid_, dialogs_, progress()});
    ui_->ProgressBar1->setValue(progressPosition_);
}

void SalesWindow::Button3Click() {
    saveSalesFileCommand({*grid_, dialogs_, progress(), {}});
    ui_->ProgressBar1->setValue(progressPosition_);
}

void SalesWindow::Button2Click() {
    close();
}

}  // namespace tabulon::sdcard
