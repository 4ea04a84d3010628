#include "app/table_edits.h"

#include <QLineEdit>
#include <QWidget>
#include <algorithm>

#include "app/parameter_page.h"
#include "catalogue/grid_catalogue.h"
#include "catalogue/grid_model.h"

namespace tabulon::app {

TableEdits::TableEdits(QWidget* window) : QObject(window), window_(window) {}

void TableEdits::watch(GridModel* grid, int tab) {
    // A grid is edited while a row differs from what it was opened, saved,
    // read or written with: rows typed back leave nothing to lose.
    connect(grid, &GridModel::edited, this,
            [this, grid, tab] { setEdited(tab, grid->marks().anyEdited()); });
    connect(grid, &GridModel::marksChanged, this, [this, grid, tab] {
        if (!grid->marks().anyEdited()) setEdited(tab, false);
    });
}

void TableEdits::watch(const ParameterPage& page, int tab) {
    for (QLineEdit* field : page.fields())
        connect(field, &QLineEdit::textEdited, this, [this, tab] { setEdited(tab, true); });
}

void TableEdits::setEdited(int tab, bool edited) {
    if (tab < 0 || tab >= kLogoTab) return;
    edited_[tab] = edited;
    if (edited) ++edits_[tab];
    window_->setWindowModified(std::find(edited_.begin(), edited_.end(), true) != edited_.end());
}

int TableEdits::editsOf(int tab) const {
    return tab < 0 || tab >= kLogoTab ? 0 : edits_[tab];
}

void TableEdits::setTransferred(int tab, int editsAtStart) {
    // An edit made while the exchange went on is not in the register.
    if (editsOf(tab) == editsAtStart) setEdited(tab, false);
}

QStringList TableEdits::editedTables() const {
    QStringList edited;
    for (int tab = 0; tab < kLogoTab; ++tab)
        if (edited_[tab]) edited << tabCaptions().value(tab);
    return edited;
}

}  // namespace tabulon::app
