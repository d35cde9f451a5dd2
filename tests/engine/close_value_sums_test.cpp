#include "close_value_sums.h"

#include <gtest/gtest.h>

#include <vector>

#include "correlation_integrals.h"
#include "random_stream.h"

namespace ixo {
namespace {

TEST(SumCloseValues, EqualsTheKernelBitForBit) {
  // Ties and differences equal to eps included (the integer cycle at eps 1).
  std::vector<double> normal(300);
  RandomStream stream(3, 0);
  for (double& v : normal) v = stream.Normal();
  std::vector<double> cycle(200);
  for (std::size_t i = 0; i < cycle.size(); ++i) cycle[i] = static_cast<double>(i % 3);
  std::vector<double> shuffled = normal;
  Shuffle(shuffled, stream);
  struct Case {
    const std::vector<double>* x;
    double eps;
  };
  const std::vector<double> worked = {1, 2, 3, 10};
  const Case cases[] = {{&worked, 1},  {&normal, 0.5}, {&normal, 1.7}, {&shuffled, 0.5},
                        {&cycle, 1.0}, {&cycle, 0.5},  {&cycle, 2.0}};
  for (const Case& c : cases) {
    const KernelResult k = correlation_integrals(*c.x, 2, c.eps);
    const CloseValueSums s = SumCloseValues(*c.x, c.eps);
    EXPECT_EQ(s.c_1, k.integrals[1]) << c.x->size() << " " << c.eps;
    EXPECT_EQ(s.K, k.K) << c.x->size() << " " << c.eps;
    EXPECT_EQ(s.c, k.c) << c.x->size() << " " << c.eps;
  }
  release_tables();
}

}  // namespace
}  // namespace ixo
