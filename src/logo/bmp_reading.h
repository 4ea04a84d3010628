#pragma once

#include <QByteArray>
#include <QImage>

namespace tabulon::logo {

// The picture Qt's BMP reader makes of the file, with every pixel known:
// those the file gives as it gives them, those it leaves out (a run-length
// code may skip pixels, end a line or the picture early, or be cut short)
// white. A palette
// shorter than the pixels' indices is filled up with black. Null when the
// reader refuses the file.
//
// The reader leaves pixels it is not given as the memory held before, so the
// file is read twice, into pictures filled beforehand with two different
// values: a pixel the file sets comes out the same in both, one it leaves
// out does not. A run-length code cut short by the end of the file is
// completed differently in the two reads, so its pixels are white as well.
QImage readBmpPixels(const QByteArray& file);

}  // namespace tabulon::logo
