#include "ui/jpeg_picture.h"

// jpeglib.h uses size_t and FILE without including their headers.
// clang-format off
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <memory>

// Made at build time by make_about_picture: the JPEG bytes of the about page's picture.
extern const unsigned char kAboutPictureJpeg[];
extern const size_t kAboutPictureJpegSize;

namespace ixo {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return:
// it jumps back into DecodeJpeg, which then gives up.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

void JumpOnError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void IgnoreMessage(j_common_ptr) {}

}  // namespace

QImage DecodeJpeg(const unsigned char* data, size_t size) {
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = JumpOnError;
  errors.base.output_message = IgnoreMessage;
  // Everything that changes after setjmp lives on the heap, so that its value
  // is still known when an error jumps back here.
  const auto image = std::make_unique<QImage>();
  if (setjmp(errors.jump) != 0) {
    jpeg_destroy_decompress(&info);
    return QImage();
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
    jpeg_destroy_decompress(&info);
    return QImage();
  }
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  *image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                  QImage::Format_RGB888);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = image->scanLine(static_cast<int>(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return *image;
}

QImage AboutPicture() {
  return DecodeJpeg(kAboutPictureJpeg, kAboutPictureJpegSize);
}

}  // namespace ixo
