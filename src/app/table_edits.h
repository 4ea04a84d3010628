#pragma once

#include <QObject>
#include <QStringList>
#include <array>

#include "catalogue/table_kind.h"

class QWidget;

namespace tabulon {
class GridModel;
}

namespace tabulon::app {

class ParameterPage;

// Which tables the user has changed since they were last opened, saved, read
// or written: what closing the window would lose, and the window's mark of
// unsaved edits. The tabs before the logo hold tables.
class TableEdits : public QObject {
    Q_OBJECT
public:
    // Marks `window` modified while any table is edited.
    explicit TableEdits(QWidget* window);

    // The user's edits in a grid or a parameter page make its table edited;
    // a grid whose rows are all as they were is not.
    void watch(GridModel* grid, int tab);
    void watch(const ParameterPage& page, int tab);

    // A table's contents changed by the user, or now the same as that file
    // or register again.
    void setEdited(int tab, bool edited);
    // How often a table has been edited since the window opened.
    int editsOf(int tab) const;
    // A table written or read whole, unless it was edited after
    // `editsAtStart`.
    void setTransferred(int tab, int editsAtStart);
    // The captions of the edited tables' tabs, in tab order.
    QStringList editedTables() const;

private:
    QWidget* window_;
    std::array<bool, kLogoTab> edited_{};
    std::array<int, kLogoTab> edits_{};
};

}  // namespace tabulon::app
