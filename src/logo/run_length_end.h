#pragma once

#include <QByteArray>

#include "logo/bmp_layout.h"

namespace tabulon::logo {

// A run-length coded file ended after its last whole code: the pixels of an
// absolute run cut short that the file holds are kept as runs of one pixel,
// the code cut short is dropped, and the picture is ended there. Any other
// file as it is.
//
// The reader goes on past the end of a file cut inside a code into whatever
// follows, and codes read there can move over pixels the file set and draw
// over them; ended this way it never reads past the whole codes.
QByteArray endAfterWholeCodes(const QByteArray& file, const BmpLayout& layout);

}  // namespace tabulon::logo
