#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/controls.h"
#include "app/pages.h"

namespace tabulon::app {

namespace {

QComboBox* makeCombo(QWidget* parent, const QString& name, const QStringList& items, int y,
                     bool editable = false) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(editable);
    box->addItems(items);
    box->setGeometry(120, y, 145, 21);
    return box;
}

}  // namespace

void buildConnectionGroup(QWidget* group) {
    QStringList ports;
    for (int n = 1; n <= 9; ++n) ports << QStringLiteral("COM%1").arg(n);
    makeLabel(group, "Label1", "Последовательный \nпорт:", 8, 14);
    makeCombo(group, "ComboBox1", ports, 18);
    makeLabel(group, "Label2", "Скорость:", 8, 46);
    makeCombo(group, "ComboBox2",
              {"4800", "9600", "14400", "19200", "28800", "38400", "56000", "115200"}, 42, true);
    makeLabel(group, "Label4", "Номер ЭККА:", 8, 70);
    makeCombo(group, "ComboBox3", {"1", "2", "3", "4", "5"}, 66);
    makeLabel(group, "Label6", "Тип ЭККА:", 8, 94);
    makeCombo(group, "ComboBox4", {"Datecs MP-550T", "Datecs MP-50 Junior", "Neon"}, 90);
    // Wide enough for the longest state, "Datecs MP-50 Junior подключена".
    QLabel* state = makeLabel(group, "Label3", "Не подключена", 8, 116);
    state->setFixedWidth(257);
    setTextColor(state, QColor(255, 0, 0));
    makeButton(group, "Button5", "Подключить", 176, 132, 89, 25);
}

void buildCodingIntervalGroup(QWidget* group) {
    makeCheckBox(group, "CheckBox1", "Использовать", 8, 20, 107);
    makeLabel(group, "Label7", "Начало", 120, 22);
    makeEdit(group, "Edit2", 168, 18, 73)->setText("1");
    makeLabel(group, "Label8", "Конец", 256, 22);
    makeEdit(group, "Edit3", 296, 18, 73)->setText("10000");
    makeLabel(group, "Label27", "Номер первой записи в ЭККА:", 392, 22);
    makeEdit(group, "Edit4", 576, 18, 73);
}

}  // namespace tabulon::app
