// multiplicity_check: what the adjusted and overall p-values and the
// sequential rule do on simulated series, through the library behind
// `ixo_cli ixo` and `ixo_cli bds`.
//
//   multiplicity_check fwer [series] [reps] [law] [n ...]
//     the family-wise rate of "some raw p < 5 %" against "overall p < 5 %" on
//     i.i.d. normal and t(3) series, n = 200, 500, 1000: the Ixo family
//     (m = 2..10) and the BDS family (m = 2..10 x eps 0.5, 1, 1.5, 2 sd); a
//     law ("normal" or "t(3)") and sizes given keep to those;
//   multiplicity_check power [series] [reps]
//     the share of series rejected at 5 % on GARCH(1,1), TAR(1), NLMA and AR(1)
//     series of 500 values: per member (the worst and the best) and by the
//     overall test, for both families, and by the joint test over both;
//   multiplicity_check sequential n [series] [h ...]
//     the permutations the sequential rule draws (R = 999) on i.i.d. normal
//     series of n values: median, mean, share that went to R, and the
//     rejection rate at 5 % and 10 % of every dimension's p-value.
//
// Series s of a kind is drawn from RandomStream(kind seed, s), so every run
// prints the same figures.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "joint_test.h"
#include "permutation_tests.h"
#include "random_stream.h"

namespace {

using Generator = std::function<std::vector<double>(int n, ixo::RandomStream&)>;

struct Kind {
  const char* name;
  std::uint64_t seed;
  Generator draw;
};

// 200 values of every recursive model are drawn and dropped first, so that the
// series starts near its stationary law.
constexpr int kBurnIn = 200;

std::vector<double> Normal(int n, ixo::RandomStream& s) {
  std::vector<double> x(n);
  for (double& v : x) v = s.Normal();
  return x;
}

std::vector<double> StudentT3(int n, ixo::RandomStream& s) {
  std::vector<double> x(n);
  for (double& v : x) {
    const double z = s.Normal();
    double chi2 = 0;
    for (int k = 0; k < 3; ++k) {
      const double g = s.Normal();
      chi2 += g * g;
    }
    v = z / std::sqrt(chi2 / 3);
  }
  return x;
}

// x_t = sigma_t z_t, sigma_t^2 = 1 + 0.1 x_(t-1)^2 + 0.8 sigma_(t-1)^2.
std::vector<double> Garch(int n, ixo::RandomStream& s) {
  std::vector<double> x;
  double variance = 10, last = 0;
  for (int t = 0; t < n + kBurnIn; ++t) {
    variance = 1 + 0.1 * last * last + 0.8 * variance;
    last = std::sqrt(variance) * s.Normal();
    if (t >= kBurnIn) x.push_back(last);
  }
  return x;
}

// x_t = -0.5 x_(t-1) + z_t where x_(t-1) >= 1, else 0.4 x_(t-1) + z_t.
std::vector<double> Tar(int n, ixo::RandomStream& s) {
  std::vector<double> x;
  double last = 0;
  for (int t = 0; t < n + kBurnIn; ++t) {
    last = (last >= 1 ? -0.5 : 0.4) * last + s.Normal();
    if (t >= kBurnIn) x.push_back(last);
  }
  return x;
}

// x_t = z_t + 0.8 z_(t-1) z_(t-2): uncorrelated, not independent.
std::vector<double> Nlma(int n, ixo::RandomStream& s) {
  std::vector<double> x;
  double z1 = s.Normal(), z2 = s.Normal();
  for (int t = 0; t < n; ++t) {
    const double z = s.Normal();
    x.push_back(z + 0.8 * z1 * z2);
    z2 = z1;
    z1 = z;
  }
  return x;
}

// x_t = 0.3 x_(t-1) + z_t.
std::vector<double> Ar1(int n, ixo::RandomStream& s) {
  std::vector<double> x;
  double last = 0;
  for (int t = 0; t < n + kBurnIn; ++t) {
    last = 0.3 * last + s.Normal();
    if (t >= kBurnIn) x.push_back(last);
  }
  return x;
}

const double kEps[] = {0.5, 1, 1.5, 2};

// What one family says about one series at 5 %.
struct Outcome {
  bool any_raw = false;
  bool overall = false;
  std::vector<bool> members;  // each raw p < 5 %
};

// Each series draws its own permutations (the seed of series s is s + 1):
// with one set of permutations for all, the rate would be the chance of a
// rejection given that set, not the test's.
Outcome IxoOutcome(const std::vector<double>& x, int reps, std::uint64_t seed) {
  ixo::Simulation simulation;
  simulation.replications = reps;
  simulation.seed = seed;
  const ixo::Result<ixo::IxoPermutationTest> result =
      ixo::PermutationTestIxo(x, ixo::IxoSettings{}, simulation);
  if (!result.ok()) {
    std::fprintf(stderr, "multiplicity_check: %s\n", result.error.c_str());
    std::exit(1);
  }
  const ixo::IxoPermutationTest& test = *result.value;
  Outcome o;
  for (const std::optional<double>& p : test.p_values) {
    o.members.push_back(p.value_or(1) < 0.05);
    o.any_raw = o.any_raw || p.value_or(1) < 0.05;
  }
  o.overall = test.p_overall.value_or(1) < 0.05;
  return o;
}

Outcome BdsOutcome(const std::vector<double>& x, int reps, std::uint64_t seed) {
  ixo::Simulation simulation;
  simulation.replications = reps;
  simulation.seed = seed;
  const ixo::Result<ixo::BdsPermutationTest> result =
      ixo::PermutationTestBds(x, 10, kEps, simulation);
  if (!result.ok()) {
    std::fprintf(stderr, "multiplicity_check: %s\n", result.error.c_str());
    std::exit(1);
  }
  const ixo::BdsPermutationTest& test = *result.value;
  Outcome o;
  for (const ixo::BdsValue& v : test.values) {
    const bool rejected = v.p_permutation.value_or(1) < 0.05;
    o.members.push_back(rejected);
    o.any_raw = o.any_raw || rejected;
  }
  o.overall = test.p_overall.value_or(1) < 0.05;
  return o;
}

struct Rates {
  double any_raw = 0, overall = 0, best = 0, worst = 1;
};

Rates RatesOf(const Kind& kind, int n, int series, int reps, bool bds) {
  int any_raw = 0, overall = 0;
  std::vector<int> members;
  for (int s = 0; s < series; ++s) {
    ixo::RandomStream stream(kind.seed, static_cast<std::uint64_t>(s));
    const std::vector<double> x = kind.draw(n, stream);
    const std::uint64_t seed = static_cast<std::uint64_t>(s) + 1;
    const Outcome o = bds ? BdsOutcome(x, reps, seed) : IxoOutcome(x, reps, seed);
    any_raw += o.any_raw;
    overall += o.overall;
    members.resize(o.members.size());
    for (std::size_t j = 0; j < o.members.size(); ++j) members[j] += o.members[j];
  }
  Rates r;
  r.any_raw = static_cast<double>(any_raw) / series;
  r.overall = static_cast<double>(overall) / series;
  for (int m : members) {
    r.best = std::max(r.best, static_cast<double>(m) / series);
    r.worst = std::min(r.worst, static_cast<double>(m) / series);
  }
  return r;
}

int Fwer(int series, int reps, const std::string& only_law, std::vector<int> sizes) {
  const Kind kinds[] = {{"normal", 101, Normal}, {"t(3)", 102, StudentT3}};
  if (sizes.empty()) sizes = {200, 500, 1000};
  std::printf("family-wise rate at 5 %%: %d series each, R = %d\n", series, reps);
  std::printf("%-7s %5s | %-22s | %-22s\n", "law", "n", "Ixo m=2..10 (9)", "BDS m x eps (36)");
  std::printf("%-7s %5s | %10s %11s | %10s %11s\n", "", "", "any raw p", "overall p", "any raw p",
              "overall p");
  for (const Kind& kind : kinds) {
    if (!only_law.empty() && only_law != kind.name) continue;
    for (int n : sizes) {
      const Rates ixo = RatesOf(kind, n, series, reps, false);
      const Rates bds = RatesOf(kind, n, series, reps, true);
      std::printf("%-7s %5d | %10.3f %11.3f | %10.3f %11.3f\n", kind.name, n, ixo.any_raw,
                  ixo.overall, bds.any_raw, bds.overall);
      std::fflush(stdout);
    }
  }
  return 0;
}

// The share of `series` series of 500 values the joint test rejects at 5 %.
double JointRate(const Kind& kind, int series, int reps) {
  int rejected = 0;
  for (int s = 0; s < series; ++s) {
    ixo::RandomStream stream(kind.seed, static_cast<std::uint64_t>(s));
    ixo::Simulation simulation;
    simulation.replications = reps;
    simulation.seed = static_cast<std::uint64_t>(s) + 1;
    const ixo::Result<ixo::JointPermutationTest> test =
        ixo::PermutationTestJoint(kind.draw(500, stream), ixo::IxoSettings{}, kEps, simulation);
    rejected += test.ok() && test.value->p_overall.value_or(1) < 0.05;
  }
  return static_cast<double>(rejected) / series;
}

int Power(int series, int reps) {
  const Kind kinds[] = {{"GARCH(1,1)", 201, Garch},
                        {"TAR(1)", 202, Tar},
                        {"NLMA", 203, Nlma},
                        {"AR(1) 0.3", 204, Ar1}};
  std::printf("share rejected at 5 %%, n = 500: %d series each, R = %d\n", series, reps);
  std::printf("%-11s | %-28s | %-28s | %s\n", "model", "Ixo (9 members)", "BDS (36 members)",
              "joint");
  std::printf("%-11s | %8s %8s %10s | %8s %8s %10s | %8s\n", "", "worst", "best", "overall",
              "worst", "best", "overall", "overall");
  for (const Kind& kind : kinds) {
    const Rates ixo = RatesOf(kind, 500, series, reps, false);
    const Rates bds = RatesOf(kind, 500, series, reps, true);
    std::printf("%-11s | %8.3f %8.3f %10.3f | %8.3f %8.3f %10.3f | %8.3f\n", kind.name, ixo.worst,
                ixo.best, ixo.overall, bds.worst, bds.best, bds.overall,
                JointRate(kind, series, reps));
    std::fflush(stdout);
  }
  return 0;
}

int Sequential(int n, int series, const std::vector<int>& tails) {
  constexpr int kReps = 999;
  std::printf("sequential rule, i.i.d. normal, n = %d, R = %d, %d series\n", n, kReps, series);
  std::printf("%4s | %8s %8s %8s | %12s %12s\n", "h", "median", "mean", "to R", "p < 5 %",
              "p < 10 %");
  for (int h : tails) {
    std::vector<int> drawn;
    int below5 = 0, below10 = 0, tests = 0;
    for (int s = 0; s < series; ++s) {
      ixo::RandomStream stream(301, static_cast<std::uint64_t>(s));
      const std::vector<double> x = Normal(n, stream);
      ixo::Simulation simulation;
      simulation.replications = kReps;
      simulation.sequential = h;
      const ixo::Result<ixo::IxoPermutationTest> test =
          ixo::PermutationTestIxo(x, ixo::IxoSettings{}, simulation);
      if (!test.ok()) return 1;
      drawn.push_back(test.value->drawn);
      for (const std::optional<double>& p : test.value->p_values) {
        if (!p) continue;
        ++tests;
        below5 += *p < 0.05;
        below10 += *p < 0.10;
      }
    }
    std::vector<int> sorted = drawn;
    std::sort(sorted.begin(), sorted.end());
    double mean = 0;
    for (int d : drawn) mean += d;
    mean /= series;
    const auto full = std::count(drawn.begin(), drawn.end(), kReps);
    const double median =
        series % 2 ? sorted[series / 2] : (sorted[series / 2 - 1] + sorted[series / 2]) / 2.0;
    std::printf("%4d | %8.1f %8.1f %8.3f | %12.3f %12.3f\n", h, median, mean,
                static_cast<double>(full) / series, static_cast<double>(below5) / tests,
                static_cast<double>(below10) / tests);
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  const auto arg = [&](int i, int fallback) { return argc > i ? std::atoi(argv[i]) : fallback; };
  if (mode == "fwer") {
    std::vector<int> sizes;
    for (int i = 5; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    return Fwer(arg(2, 400), arg(3, 199), argc > 4 ? argv[4] : "", sizes);
  }
  if (mode == "power") return Power(arg(2, 100), arg(3, 999));
  if (mode == "sequential" && argc > 2) {
    std::vector<int> tails;
    for (int i = 4; i < argc; ++i) tails.push_back(std::atoi(argv[i]));
    if (tails.empty()) tails = {10};
    return Sequential(arg(2, 2500), arg(3, 20), tails);
  }
  std::fprintf(stderr,
               "usage: multiplicity_check fwer [series] [reps] [law] [n ...] |\n"
               "       power [series] [reps] |\n"
               "       sequential n [series] [h ...]\n");
  return 2;
}
