#include "app/about_box.h"

#include <QLabel>
#include <QPushButton>

#include "app/controls.h"

namespace tabulon::app {

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("Form2");
    setWindowTitle("О программе");
    setFixedSize(343, 163);
    setModal(true);
    const QStringList credits{
        "Tabulon — программирование ЭККА",
        "Таблицы, логотип и отчеты через последовательный порт",
        "Разработчики Tabulon",
    };
    for (int i = 0; i < credits.size(); ++i) {
        QLabel* line =
            makeLabel(this, QStringLiteral("AboutLine%1").arg(i + 1), credits[i], 24, 24 + 26 * i);
        line->setFixedWidth(300);
    }
    QPushButton* close = makeButton(this, "AboutClose", "Закрыть", 256, 128, 75, 25);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace tabulon::app
