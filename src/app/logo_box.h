#pragma once

#include <QImage>
#include <QList>
#include <cstdint>

class QLabel;

namespace tabulon::app {

// The logo picture of the logo tab and its box (`Image1`): at most one
// picture, shown at its natural size from the top-left corner and clipped, or
// stretched over the whole box. Stretching is display only: the picture
// keeps its own pixels.
class LogoBox {
public:
    explicit LogoBox(QLabel* box);

    const QImage& picture() const { return picture_; }
    bool hasPicture() const { return !picture_.isNull(); }
    void setPicture(const QImage& picture);
    // One row read from the register, drawn into the picture (made when
    // there is none).
    void drawRow(int row, const QList<std::uint8_t>& values);
    void setStretched(bool stretched);

private:
    void show();

    QLabel* box_;
    QImage picture_;
};

}  // namespace tabulon::app
