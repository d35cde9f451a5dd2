// A test series: n i.i.d. standard normal values from stream (seed, 0), the
// same on every machine.
#pragma once

#include <cstdint>
#include <vector>

#include "random_stream.h"

namespace ixo {

inline std::vector<double> Normal(int n, std::uint64_t seed) {
  RandomStream stream(seed, 0);
  std::vector<double> x(n);
  for (double& v : x) v = stream.Normal();
  return x;
}

}  // namespace ixo
