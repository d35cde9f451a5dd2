#include "analysis/size_class_choice.h"

#include "tables/critical_values.h"

namespace ixo {

int PreselectedSizeClass(int count) {
  // Only the nearest class can lie within 20 %: the bands of 20 % around the
  // classes (400-600, 800-1200, 2000-3000) lie apart, each within the counts
  // SampleSizeClass gives to its class.
  const int nearest = SampleSizeClass(count);
  return SizeClassHint(count, nearest).empty() ? nearest : kPermutationClass;
}

}  // namespace ixo
