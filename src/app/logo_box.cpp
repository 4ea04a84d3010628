#include "app/logo_box.h"

#include <QLabel>
#include <QPixmap>

#include "logo/dot_row.h"

namespace tabulon::app {

LogoBox::LogoBox(QLabel* box) : box_(box) {}

void LogoBox::setPicture(const QImage& picture) {
    picture_ = picture;
    show();
}

void LogoBox::drawRow(int row, const QList<std::uint8_t>& values) {
    logo::drawRow(picture_, row, values);
    show();
}

void LogoBox::setStretched(bool stretched) {
    box_->setScaledContents(stretched);
    show();
}

void LogoBox::show() {
    if (picture_.isNull()) {
        box_->clear();
        return;
    }
    // Unstretched, a label draws a larger picture from its top-left corner
    // and cuts it off at its own edges.
    box_->setPixmap(QPixmap::fromImage(picture_));
}

}  // namespace tabulon::app
