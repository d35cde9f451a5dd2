#include "analysis/errors.h"

#include <cerrno>
#include <cmath>

namespace ixo {

double CheckedDivide(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) throw HandlerError(kInvalidOperation);
  if (b == 0) throw HandlerError(a == 0 ? kInvalidOperation : kDivisionByZero);
  return CheckedFinite(a / b);
}

double CheckedFinite(double v) {
  if (std::isnan(v)) throw HandlerError(kInvalidOperation);
  if (std::isinf(v)) throw HandlerError(kOverflow);
  return v;
}

double CheckedSqrt(double v) {
  if (std::isnan(v) || v < 0) throw HandlerError(kInvalidOperation);
  return CheckedFinite(std::sqrt(v));
}

std::string IoErrorText(int error_number) {
  switch (error_number) {
    case ENOENT:
    case ENOTDIR:
      return "File not found";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return "File access denied";
    default:
      return "I/O error " + std::to_string(error_number);
  }
}

}  // namespace ixo
