// Decoding of the JPEG picture that the about page shows. The picture is built
// into the program as bytes and decoded with libjpeg when the page is made.
#pragma once

#include <QImage>
#include <cstddef>

namespace ixo {

// The picture held in `size` bytes at `data`, as an RGB image. A null image
// when the bytes are not a JPEG picture libjpeg can decode; nothing is printed.
QImage DecodeJpeg(const unsigned char* data, size_t size);

// The about page's picture, decoded from the bytes built into the program.
QImage AboutPicture();

}  // namespace ixo
