// The significance verdict of a basic step: the Ixo value held against the
// two-sided critical values of its epsilon range, dimension and sample-size
// class, at the 10, 5, 2 and 1 percent levels.
#pragma once

#include <string>

namespace ixo {

// "do not reject" when `value` lies within the 5th to 95th percentile band
// (ends included); otherwise "reject at 10%", "reject at 5%", "reject at 2%"
// or "reject at 1%" for the smallest level whose band it leaves. "unknown"
// when the table holds no critical values for the arguments.
std::string Verdict(double value, int eps_range, int m, int size_class);

}  // namespace ixo
