// The geometric grid of distances: subint + 1 points from eps_low * sd to
// eps_high * sd (downward when eps_high < eps_low, all equal when they match).
#pragma once

namespace ixo {

class DistanceGrid {
 public:
  // Requires eps_low * sd > 0, eps_high * sd > 0 and subint >= 1.
  DistanceGrid(double eps_low, double eps_high, double sd, int subint);

  int subint() const { return subint_; }
  int size() const { return subint_ + 1; }

  // eps_k = 3^(lower + k * (upper - lower) / subint), with lower = ln(eps_low * sd)
  // / ln 3 and upper likewise; k = 0 .. subint. Computed afresh on every call,
  // so every caller gets bit-identical distances.
  double Point(int k) const;

 private:
  double lower_;
  double upper_;
  int subint_;
};

}  // namespace ixo
