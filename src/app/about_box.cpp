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
}

AboutBox::~AboutBox() = default;

}  // namespace tabulon::app
