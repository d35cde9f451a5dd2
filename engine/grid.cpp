#include "grid.h"

#include <cmath>

namespace ixo {

DistanceGrid::DistanceGrid(double eps_low, double eps_high, double sd, int subint)
    : lower_(std::log(eps_low * sd) / std::log(3.0)),
      upper_(std::log(eps_high * sd) / std::log(3.0)),
      subint_(subint) {}

double DistanceGrid::Point(int k) const {
  return std::pow(3.0, lower_ + k * (upper_ - lower_) / subint_);
}

}  // namespace ixo
