// Build-time tool: draws the about page's picture and writes it, JPEG-encoded
// with libjpeg, as a C++ source file of bytes that the program is linked with.
//
// The picture is what the program is about: log C_m(eps) against log eps for
// an example series (a noisy logistic map), for the dimensions m = 1 to 6,
// computed with the engine's own correlation-integral kernel. The slopes of
// these lines are the Ixo values.
//
// Usage: make_about_picture <output.cpp>
// jpeglib.h uses size_t and FILE without including their headers.
// clang-format off
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <vector>

#include "correlation_integrals.h"
#include "grid.h"

namespace {

constexpr int kWidth = 172;
constexpr int kHeight = 73;
constexpr int kMaxDimension = 6;
constexpr int kGridIntervals = 24;

// A fixed example series: the logistic map at full chaos with a little noise
// from a fixed linear congruential generator, so every build draws the same.
std::vector<double> ExampleSeries() {
  std::vector<double> series;
  double x = 0.3141;
  unsigned state = 20050509u;
  for (int t = 0; t < 700; ++t) {
    x = 4.0 * x * (1.0 - x);
    state = state * 1664525u + 1013904223u;
    const double noise = (static_cast<double>(state >> 8) / 16777216.0 - 0.5) * 0.02;
    series.push_back(x + noise);
  }
  return series;
}

double StandardDeviation(const std::vector<double>& series) {
  double sum = 0;
  for (double v : series) sum += v;
  const double mean = sum / static_cast<double>(series.size());
  double squares = 0;
  for (double v : series) squares += (v - mean) * (v - mean);
  return std::sqrt(squares / static_cast<double>(series.size() - 1));
}

// log C_m at each grid point, one curve per dimension m = 1..kMaxDimension.
struct Curves {
  std::vector<double> log_eps;
  std::vector<std::vector<double>> log_c;  // [m - 1][k]
};

Curves ComputeCurves() {
  const std::vector<double> series = ExampleSeries();
  const ixo::DistanceGrid grid(0.25, 2.0, StandardDeviation(series), kGridIntervals);
  Curves curves;
  curves.log_c.resize(kMaxDimension);
  for (int k = 0; k < grid.size(); ++k) {
    const double eps = grid.Point(k);
    const ixo::KernelResult result = ixo::correlation_integrals(series, kMaxDimension, eps);
    curves.log_eps.push_back(std::log(eps));
    for (int m = 1; m <= kMaxDimension; ++m) {
      curves.log_c[m - 1].push_back(std::log(std::max(result.integrals[m], 1e-12)));
    }
  }
  ixo::release_tables();
  return curves;
}

QImage DrawPicture(const Curves& curves) {
  QImage image(kWidth, kHeight, QImage::Format_RGB888);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient background(0, 0, 0, kHeight);
  background.setColorAt(0, QColor(255, 255, 255));
  background.setColorAt(1, QColor(222, 230, 245));
  painter.fillRect(image.rect(), background);

  // Title on the left, plot on the right.
  QFont title(QStringLiteral("Liberation Sans"));
  title.setPixelSize(26);
  title.setBold(true);
  painter.setFont(title);
  painter.setPen(QColor(0, 0, 128));
  painter.drawText(QRect(4, 6, 62, 34), Qt::AlignCenter, QStringLiteral("Ixo"));
  QFont small(QStringLiteral("Liberation Sans"));
  small.setPixelSize(9);
  painter.setFont(small);
  painter.setPen(QColor(40, 40, 80));
  painter.drawText(QRect(2, 40, 66, 14), Qt::AlignCenter, QStringLiteral("log Cm against"));
  painter.drawText(QRect(2, 52, 66, 14), Qt::AlignCenter, QStringLiteral("log eps"));

  const QRectF plot(74, 5, 93, 62);
  painter.setPen(QPen(QColor(120, 120, 140), 1));
  painter.drawLine(plot.bottomLeft(), plot.bottomRight());
  painter.drawLine(plot.bottomLeft(), plot.topLeft());

  double x_low = curves.log_eps.front(), x_high = curves.log_eps.back();
  double y_low = 0, y_high = -1e300;
  for (const auto& curve : curves.log_c) {
    for (double y : curve) {
      y_low = std::min(y_low, y);
      y_high = std::max(y_high, y);
    }
  }
  const auto to_point = [&](double x, double y) {
    return QPointF(plot.left() + 2 + (x - x_low) / (x_high - x_low) * (plot.width() - 4),
                   plot.bottom() - 2 - (y - y_low) / (y_high - y_low) * (plot.height() - 4));
  };
  for (int m = 1; m <= kMaxDimension; ++m) {
    QPainterPath path;
    for (size_t k = 0; k < curves.log_eps.size(); ++k) {
      const QPointF point = to_point(curves.log_eps[k], curves.log_c[m - 1][k]);
      if (k == 0) {
        path.moveTo(point);
      } else {
        path.lineTo(point);
      }
    }
    const int shade = 30 * (m - 1);
    painter.setPen(QPen(QColor(shade, shade, 200 - shade / 2), 1.4));
    painter.drawPath(path);
  }
  painter.end();
  return image;
}

std::vector<unsigned char> EncodeJpeg(const QImage& image) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(image.width());
  info.image_height = static_cast<JDIMENSION>(image.height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 92, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(image.constScanLine(static_cast<int>(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<unsigned char> bytes(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}

bool WriteSource(const char* path, const std::vector<unsigned char>& bytes) {
  std::FILE* file = std::fopen(path, "w");
  if (file == nullptr) return false;
  std::fprintf(file, "// Made by make_about_picture at build time; do not edit.\n");
  std::fprintf(file, "#include <cstddef>\n");
  std::fprintf(file, "extern const unsigned char kAboutPictureJpeg[];\n");
  std::fprintf(file, "extern const size_t kAboutPictureJpegSize;\n");
  std::fprintf(file, "const unsigned char kAboutPictureJpeg[] = {");
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::fprintf(file, "%s%u,", i % 20 == 0 ? "\n" : "", static_cast<unsigned>(bytes[i]));
  }
  std::fprintf(file, "\n};\nconst size_t kAboutPictureJpegSize = %zu;\n", bytes.size());
  return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_about_picture <output.cpp>\n");
    return 2;
  }
  // Text needs a font database, which needs an application; no display is used.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  const std::vector<unsigned char> bytes = EncodeJpeg(DrawPicture(ComputeCurves()));
  if (!WriteSource(argv[1], bytes)) {
    std::fprintf(stderr, "make_about_picture: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
