#include "app/transfer_error_dialog.h"

#include <QKeyEvent>
#include <algorithm>

#include "app/window_font.h"
#include "ui_transfer_error_dialog.h"

namespace tabulon::app {

namespace {
// Results of the three buttons; the title bar's close gives Rejected (0).
constexpr int kSkip = 2;
constexpr int kRetry = 3;
constexpr int kEnd = 4;
}  // namespace

TransferErrorDialog::TransferErrorDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::TransferErrorDialogForm>()) {
    ui->setupUi(this);
    setFont(windowFont());
    // The label's characters are 15 pixels high, larger than the window's.
    QFont label = ui->Label1->font();
    label.setPixelSize(15);
    label.setItalic(true);
    ui->Label1->setFont(label);
    // The label says it in one line: the dialog widens to it, the buttons
    // keeping their places from the left, the middle and the right.
    // (Its slant reaches past the last letter's advance.)
    const int wider =
        std::max(0, ui->Label1->fontMetrics().boundingRect(ui->Label1->text()).width() -
                        ui->Label1->width());
    resize(width() + wider, height());
    for (QLabel* line : {ui->Label1, ui->Label2})
        line->resize(line->width() + wider, line->height());
    ui->Button3->move(ui->Button3->x() + wider / 2, ui->Button3->y());
    ui->Button2->move(ui->Button2->x() + wider, ui->Button2->y());
    setFixedSize(size());
    baseHeight_ = height();
    baseLineHeight_ = ui->Label2->height();
    baseButtonsY_ = ui->Button1->y();
    baseTickY_ = ui->CheckBox1->y();
    ui->Label2->setWordWrap(true);
    connect(ui->Button1, &QPushButton::clicked, this, &TransferErrorDialog::Button1Click);
    connect(ui->Button3, &QPushButton::clicked, this, &TransferErrorDialog::Button3Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TransferErrorDialog::Button2Click);
    ui->Button1->setFocus();
}

TransferErrorDialog::~TransferErrorDialog() = default;

void TransferErrorDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TransferErrorDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui->Button1->setFocus();
}

void TransferErrorDialog::setRecordLine(const QString& line) {
    // One line for most; a long report name or register code wraps onto
    // more, and the dialog grows by them with its buttons kept as far above
    // its bottom as ever.
    QLabel* label = ui->Label2;
    label->setText(line);
    const int lineHeight = std::max(baseLineHeight_, label->heightForWidth(label->width()));
    label->resize(label->width(), lineHeight);
    fitHeight(lineHeight - baseLineHeight_);
}

void TransferErrorDialog::fitHeight(int grown) {
    grown_ = grown;
    for (QPushButton* button : {ui->Button1, ui->Button3, ui->Button2})
        button->move(button->x(), baseButtonsY_ + grown);
    ui->CheckBox1->move(ui->CheckBox1->x(), baseTickY_ + grown);
    // Without the tick box the dialog ends as far under the buttons as it
    // ends under the box.
    const int tickRoom =
        (baseTickY_ + ui->CheckBox1->height()) - (baseButtonsY_ + ui->Button1->height());
    setFixedSize(width(), baseHeight_ + grown - (ui->CheckBox1->isHidden() ? tickRoom : 0));
}

void TransferErrorDialog::beginJob(bool skipGoesOn) {
    ui->CheckBox1->setChecked(false);
    ui->CheckBox1->setHidden(!skipGoesOn);
    fitHeight(grown_);
}

QString TransferErrorDialog::recordLine() const {
    return ui->Label2->text();
}

void TransferErrorDialog::Button1Click() {
    done(kSkip);
}

void TransferErrorDialog::Button3Click() {
    done(kRetry);
}

void TransferErrorDialog::Button2Click() {
    done(kEnd);
}

transfer::FailureAnswer TransferErrorDialog::answer(int result) const {
    switch (result) {
        case kSkip:
            return ui->CheckBox1->isChecked() ? transfer::FailureAnswer::SkipLater
                                              : transfer::FailureAnswer::Skip;
        case kRetry:
            return transfer::FailureAnswer::Retry;
        case kEnd:
            return transfer::FailureAnswer::End;
        default:
            return transfer::FailureAnswer::Dismissed;
    }
}

}  // namespace tabulon::app
