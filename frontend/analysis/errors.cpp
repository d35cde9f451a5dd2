#include "analysis/errors.h"

#include <cerrno>
#include <cmath>

namespace ixo {

Checked CheckedDivide(Checked a, Checked b) {
  if (!a.ok()) return a;
  if (!b.ok()) return b;
  if (std::isnan(a.value) || std::isnan(b.value)) return Checked::Failed(kInvalidOperation);
  if (b.value == 0) return Checked::Failed(a.value == 0 ? kInvalidOperation : kDivisionByZero);
  return CheckedFinite(a.value / b.value);
}

Checked CheckedFinite(Checked v) {
  if (!v.ok()) return v;
  if (std::isnan(v.value)) return Checked::Failed(kInvalidOperation);
  if (std::isinf(v.value)) return Checked::Failed(kOverflow);
  return v;
}

Checked CheckedSqrt(Checked v) {
  if (!v.ok()) return v;
  if (std::isnan(v.value) || v.value < 0) return Checked::Failed(kInvalidOperation);
  return CheckedFinite(std::sqrt(v.value));
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
