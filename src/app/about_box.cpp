#include "app/about_box.h"

#include "app/window_font.h"
#include "ui_about_box.h"

namespace tabulon::app {

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ui(std::make_unique<Ui::AboutBoxForm>()) {
    ui->setupUi(this);
    // Which build a user runs is the first thing a support request asks.
    ui->AboutLine1->setText(ui->AboutLine1->text().arg(QStringLiteral(TABULON_VERSION)));
    setFont(windowFont());
    setFixedSize(size());
    showTraceFile(QString());
}

AboutBox::~AboutBox() = default;

void AboutBox::showTraceFile(const QString& path) {
    const QString line = QStringLiteral("Журнал обмена: %1").arg(path);
    // A long path keeps its end, the file's name, in sight; the whole of it
    // is in the hint.
    ui->AboutTrace->setText(path.isEmpty() ? QString()
                                           : ui->AboutTrace->fontMetrics().elidedText(
                                                 line, Qt::ElideMiddle, ui->AboutTrace->width()));
    ui->AboutTrace->setToolTip(path.isEmpty() ? QString() : line);
    ui->AboutTrace->setVisible(!path.isEmpty());
}

}  // namespace tabulon::app
