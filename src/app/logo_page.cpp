#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "app/controls.h"
#include "app/pages.h"

namespace tabulon::app {

void buildLogoPage(QWidget* page) {
    auto* panel = new QFrame(page);
    panel->setObjectName("Panel1");
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setGeometry(0, 5, 209, 215);
    auto* image = new QLabel(panel);
    image->setObjectName("Image1");
    image->setGeometry(9, 6, 192, 200);
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    makeCheckBox(page, "CheckBox2", "растянуть/сжать", 272, 16, 281);
    makeButton(page, "Button7", "Загрузить логотип из файла", 264, 56, 169, 25);
    makeButton(page, "Button11", "Сохранить логотип в файл", 488, 56, 169, 25)->setEnabled(false);
    makeButton(page, "Button13", "Записать логотип в ЭККА", 264, 96, 169, 25)->setEnabled(false);
    makeButton(page, "Button12", "Прочитать логотип из ЭККА", 488, 96, 169, 25);
}

}  // namespace tabulon::app
