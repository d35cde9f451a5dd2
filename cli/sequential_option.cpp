#include "sequential_option.h"

namespace ixo {

Result<long long> ReadSequential(const Arguments& a) {
  const auto it = a.options.find(kSequentialOption);
  if (it == a.options.end()) return {0, {}};
  return ParseInteger(kSequentialOption, it->second, 0, 100'000);
}

}  // namespace ixo
