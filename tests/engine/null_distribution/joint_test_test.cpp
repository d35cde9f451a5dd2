#include "joint_test.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <vector>

#include "normal_series.h"
#include "permutation_tests.h"

namespace ixo {
namespace {

TEST(PermutationTestJoint, EachFamilyIsItsOwnTestBitForBit) {
  const std::vector<double> x = Normal(150, 12);
  IxoSettings settings;
  settings.max_dimension = 4;
  const double eps[] = {0.5, 1.5};
  for (const int sequential : {0, 2}) {
    Simulation simulation{40, 9, 2, {}, {}};
    simulation.sequential = sequential;
    const Result<JointPermutationTest> joint_result =
        PermutationTestJoint(x, settings, eps, simulation);
    ASSERT_EQ(joint_result.error, "");
    const JointPermutationTest& joint = *joint_result.value;
    const IxoPermutationTest ixo = *PermutationTestIxo(x, settings, simulation).value;
    const BdsPermutationTest bds = *PermutationTestBds(x, 4, eps, simulation).value;
    ASSERT_EQ(joint.members.size(), 3u + 6u);
    if (sequential == 0) {
      // Without the rule every family draws all R; with it the joint run draws
      // until both have stopped, so only the values are compared.
      EXPECT_EQ(joint.drawn, 40);
      for (int i = 0; i < 3; ++i) EXPECT_EQ(joint.members[i].p_value, ixo.p_values[i]) << i;
      for (int i = 0; i < 6; ++i)
        EXPECT_EQ(joint.members[3 + i].p_value, bds.values[i].p_permutation) << i;
    }
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(joint.members[i].value, ixo.observed[i].slope) << i;
      EXPECT_EQ(joint.members[i].name, "ixo m=" + std::to_string(i + 2));
    }
    for (int i = 0; i < 6; ++i) EXPECT_EQ(joint.members[3 + i].value, *bds.values[i].bds) << i;
    EXPECT_EQ(joint.members[3].name, "bds m=2 eps=0.5");
    EXPECT_EQ(joint.members[8].name, "bds m=4 eps=1.5");
    ASSERT_GE(joint.smallest, 0);
    for (const JointMember& m : joint.members) {
      EXPECT_GE(*m.p_value, *joint.members[joint.smallest].p_value) << m.name;
      EXPECT_GE(*m.p_adjusted, *m.p_value) << m.name;
      EXPECT_GE(*m.p_adjusted, *joint.p_overall) << m.name;
    }
    // The overall test over both families is never more eager than each
    // family's own.
    EXPECT_GE(*joint.p_overall, std::min(*ixo.p_overall, *bds.p_overall) - 1e-12);
    // The same on one thread.
    simulation.threads = 1;
    const JointPermutationTest one = *PermutationTestJoint(x, settings, eps, simulation).value;
    EXPECT_EQ(one.null_distribution, joint.null_distribution) << sequential;
    EXPECT_EQ(one.p_overall, joint.p_overall) << sequential;
  }
}

TEST(PermutationTestJoint, ChaoticSeriesIsRejectedAndBadInputRefused) {
  std::ifstream in(std::string(IXO_EXAMPLES_DIR) + "/logistic.txt");
  std::vector<double> x;
  for (double v; x.size() < 120 && in >> v;) x.push_back(v);
  IxoSettings settings;
  settings.max_dimension = 3;
  const double eps[] = {1.0};
  const Result<JointPermutationTest> joint =
      PermutationTestJoint(x, settings, eps, Simulation{199, kDefaultSeed, 0, {}, {}});
  ASSERT_EQ(joint.error, "");
  EXPECT_LT(joint.value->p_overall.value_or(1), 0.05);
  struct Case {
    std::vector<double> eps;
    int replications;
    const char* error;
  };
  const Case cases[] = {{{}, 9, "no BDS distance"}, {{1.0}, 0, "no permutation"}};
  for (const Case& c : cases) {
    const Result<JointPermutationTest> refused =
        PermutationTestJoint(x, settings, c.eps, Simulation{c.replications, 1, 1, {}, {}});
    EXPECT_NE(refused.error.find(c.error), std::string::npos) << c.error << ": " << refused.error;
  }
  EXPECT_NE(
      PermutationTestJoint(std::vector<double>(30, 2.0), settings, eps, Simulation{9, 1, 1, {}, {}})
          .error.find("constant"),
      std::string::npos);
}

}  // namespace
}  // namespace ixo
