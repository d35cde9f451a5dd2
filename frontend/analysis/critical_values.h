// Tabulated percentiles of the Ixo value under the i.i.d. hypothesis, by
// epsilon range, embedding dimension and sample-size class. Constant data; the
// lookup is a pure function.
#pragma once

namespace ixo {

// The critical value for epsilon-range index `eps_range` (0: 0.60-1.90,
// 1: 0.25-1.00, 2: 0.50-1.50, 3: 0.25-2.00), dimension `m`, sample-size class
// `size_class` (0: 500, 1: 1000, 2: 2500) and `percentile` (0.5, 1, 2.5, 5, 95,
// 97.5, 99 or 99.5, matched exactly). 0 when the table holds no such value.
double CriticalValue(int eps_range, int m, int size_class, double percentile);

}  // namespace ixo
