// Which set of critical values ComboBox3 offers first for a loaded series: the
// nearest tabulated class where the series' length lies close enough to it for
// its verdicts, otherwise the permutation test, which holds at any length.
#pragma once

namespace ixo {

// The index of ComboBox3's fourth item, "permutation": the verdicts of a basic
// run come from permutation p-values instead of a sample-size class.
inline constexpr int kPermutationClass = 3;

// The ComboBox3 index a load preselects for a series of `count` values: the
// nearest class (0: 500, 1: 1000, 2: 2500, as SampleSizeClass) where `count`
// lies within 20 % of its size, so that no hint is due (SizeClassHint), and
// kPermutationClass where it lies farther from every class.
int PreselectedSizeClass(int count);

}  // namespace ixo
