// Closing the window, and what it would lose: the exchange in hand and the
// tables edited since they were last opened, saved, read or written.

#include <QCloseEvent>
#include <QLineEdit>

#include "app/close_question.h"
#include "app/controls.h"
#include "app/main_window.h"
#include "app/parameter_page.h"
#include "catalogue/grid_catalogue.h"
#include "catalogue/grid_model.h"
#include "dialogs/dialogs.h"
#include "ui_main_window.h"

namespace tabulon::app {

void MainWindow::closeEvent(QCloseEvent* event) {
    const auto editedTables = [this] {
        QStringList edited;
        for (int tab = 0; tab < kLogoTab; ++tab)
            if (edited_[tab]) edited << tabCaptions().value(tab);
        return edited;
    };
    // Enter keeps the window open: closing is what loses the work.
    const auto agreed = [this](const QString& question) {
        return dialogs_->message(question, messageCaption(), MessageIcon::Warning,
                                 MessageButtons::YesNo, MessageAnswer::No) == MessageAnswer::Yes;
    };
    // Each question is put as things stand when it is asked: an exchange
    // that ends while the first is on the screen may have written or read
    // the very tables the second would name.
    for (const QString& question : closeQuestions(job_ != LinkJob::None, {})) {
        if (!agreed(question)) {
            event->ignore();
            return;
        }
    }
    for (const QString& question : closeQuestions(false, editedTables())) {
        if (!agreed(question)) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

void MainWindow::setEdited(int tab, bool edited) {
    if (tab < 0 || tab >= kLogoTab) return;
    edited_[tab] = edited;
    if (edited) ++edits_[tab];
    setWindowModified(std::find(edited_.begin(), edited_.end(), true) != edited_.end());
}

int MainWindow::editsOf(int tab) const {
    return tab < 0 || tab >= kLogoTab ? 0 : edits_[tab];
}

void MainWindow::setTransferred(int tab, int editsAtStart) {
    // An edit made while the exchange went on is not in the register.
    if (editsOf(tab) == editsAtStart) setEdited(tab, false);
}

void MainWindow::setCaption(const QString& caption) {
    // Qt shows "*" in place of the mark while the window is modified.
    setWindowTitle(caption + QStringLiteral("[*]"));
}

void MainWindow::watchEdits() {
    for (int tab = 0; tab < kGridTableCount; ++tab)
        connect(grids_[tab], &GridModel::edited, this, [this, tab] { setEdited(tab, true); });
    for (ParameterPage* page : parameterPages_) {
        const int tab = ui->PageControl1->indexOf(page);
        for (QLineEdit* field : page->fields())
            connect(field, &QLineEdit::textEdited, this, [this, tab] { setEdited(tab, true); });
    }
}

}  // namespace tabulon::app
