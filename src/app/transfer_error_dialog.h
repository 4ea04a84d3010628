#pragma once

#include <QDialog>
#include <memory>

#include "transfer/run_parts.h"

namespace Ui {
class TransferErrorDialogForm;
}

namespace tabulon::app {

// "Ошибка чтения/записи": after ten failed attempts at one record, the user
// skips it, retries it or ends the operation. The text says the record was
// skipped whatever is chosen. There is no default or cancel button; closing
// it from the title bar is an answer of its own. Under the buttons, "Пропускать
// и следующие ошибки" makes "Пропустить" the answer for the rest of the run.
class TransferErrorDialog : public QDialog {
    Q_OBJECT
public:
    explicit TransferErrorDialog(QWidget* parent);
    ~TransferErrorDialog() override;

    // The answer behind a result of exec() (or of the dialogs' showModal),
    // with the tick box as it was left.
    transfer::FailureAnswer answer(int result) const;

    // A job begins: the tick box is cleared, so that its first failure is
    // asked about again, and shown only to a job whose skip goes on with the
    // next record.
    void beginJob(bool skipGoesOn);

    // The line under the text: which record of which table, and why.
    void setRecordLine(const QString& line);
    QString recordLine() const;

    void Button1Click();
    void Button3Click();
    void Button2Click();

protected:
    // No cancel button: Escape does nothing; only the title bar's close
    // dismisses the dialog.
    void keyPressEvent(QKeyEvent* event) override;
    // "Пропустить" has the focus each time the dialog opens.
    void showEvent(QShowEvent* event) override;

private:
    // Places the buttons and the tick box under a record line `grown` pixels
    // higher than one line, and sizes the dialog to them.
    void fitHeight(int grown);

    std::unique_ptr<Ui::TransferErrorDialogForm> ui;
    // The form's measures for a record line of one line.
    int baseHeight_ = 0;
    int baseLineHeight_ = 0;
    int baseButtonsY_ = 0;
    int baseTickY_ = 0;
    int grown_ = 0;
};

}  // namespace tabulon::app
