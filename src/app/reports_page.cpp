#include <QLineEdit>
#include <QProgressBar>
#include <QToolButton>

#include "app/controls.h"
#include "app/pages.h"

namespace tabulon::app {

namespace {
struct ReportRow {
    const char* checkBox;
    const char* caption;
    int width;
    const char* edit;
};
constexpr ReportRow kReports[] = {
    {"CheckBox3", "обороты по артикулам", 169, "Edit38"},
    {"CheckBox4", "обороты по отделам", 169, "Edit39"},
    {"CheckBox5", "обороты по группам товаров", 177, "Edit40"},
    {"CheckBox8", "обороты по операторам", 169, "Edit42"},
    {"CheckBox9", "обороты по налогам", 169, "Edit43"},
    {"CheckBox10", "обороты по оплатам", 169, "Edit44"},
    {"CheckBox11", "обороты по операциям за смену", 257, "Edit45"},
};
}  // namespace

void buildReportsPage(QWidget* page) {
    for (int i = 0; i < 7; ++i) {
        const ReportRow& report = kReports[i];
        makeCheckBox(page, report.checkBox, report.caption, 24, 8 + 24 * i, report.width);
        makeEdit(page, report.edit, 216, 6 + 24 * i, 153);
    }
    makeButton(page, "Button17", "Установить все", 400, 8, 161, 25);
    makeButton(page, "Button18", "Очистить все", 400, 40, 161, 25);
    QLineEdit* separator = makeEdit(page, "Edit41", 400, 72, 25);
    separator->setMaxLength(1);
    separator->setText(";");
    makeLabel(page, "Label43", "разделитель между полями", 432, 75);
    makeLabel(page, "Label44", "", 384, 160);
    auto* progress = new QProgressBar(page);
    progress->setObjectName("ProgressBar2");
    progress->setGeometry(0, 176, 737, 17);
    progress->setValue(0);
    progress->setTextVisible(false);
    makeEdit(page, "DirectoryEdit1", 0, 200, 545);
    auto* browse = new QToolButton(page);
    browse->setObjectName("DirectoryEdit1Button");
    browse->setText("…");
    browse->setGeometry(547, 200, 22, 21);
    makeButton(page, "Button19", "Чтение отчетов", 576, 196, 161, 25);
}

}  // namespace tabulon::app
