#include "app/about_box.h"

#include "app/window_font.h"
#include "ui_about_box.h"

namespace tabulon::app {

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ui(std::make_unique<Ui::AboutBoxForm>()) {
    ui->setupUi(this);
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
