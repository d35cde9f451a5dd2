// make_series: writes a deterministic example series to standard output, one
// value per line with six decimals. The pseudo-random numbers are our own
// (splitmix64, Box-Muller), so the output does not depend on the C++ library's
// distributions and the committed examples can be regenerated anywhere:
//
//   make_series normal   1000 > examples/normal.txt    i.i.d. N(0, 1)
//   make_series garch    1000 > examples/garch.txt     GARCH(1,1) returns
//   make_series logistic 1000 > examples/logistic.txt  logistic map, r = 4
//
// An optional third argument replaces the kind's fixed seed.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <string>

namespace {

// splitmix64 (Steele, Lea and Flood): a small generator with a full 2^64 period.
class SplitMix64 {
 public:
  explicit SplitMix64(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // Uniform in the open interval (0, 1): 53 random bits, offset by half a step.
  double Uniform() { return (static_cast<double>(Next() >> 11) + 0.5) * 0x1.0p-53; }

 private:
  uint64_t state_;
};

// Standard normal deviates by the Box-Muller transform, two per pair of uniforms.
class Normal {
 public:
  explicit Normal(uint64_t seed) : uniform_(seed) {}
  double Next() {
    if (has_spare_) {
      has_spare_ = false;
      return spare_;
    }
    const double radius = std::sqrt(-2.0 * std::log(uniform_.Uniform()));
    const double angle = 2.0 * std::numbers::pi * uniform_.Uniform();
    spare_ = radius * std::sin(angle);
    has_spare_ = true;
    return radius * std::cos(angle);
  }

 private:
  SplitMix64 uniform_;
  double spare_ = 0;
  bool has_spare_ = false;
};

void Print(double v) {
  std::printf("%.6f\n", v);
}

void WriteNormal(long n, uint64_t seed) {
  Normal z(seed);
  for (long i = 0; i < n; ++i) Print(z.Next());
}

// r_t = sigma_t z_t, sigma_t^2 = omega + alpha r_(t-1)^2 + beta sigma_(t-1)^2,
// started at the unconditional variance; the first 500 values are discarded.
void WriteGarch(long n, uint64_t seed) {
  constexpr double kOmega = 0.05, kAlpha = 0.10, kBeta = 0.85;
  constexpr long kBurnIn = 500;
  Normal z(seed);
  double variance = kOmega / (1 - kAlpha - kBeta);
  double r = 0;
  for (long t = -kBurnIn; t < n; ++t) {
    variance = kOmega + kAlpha * r * r + kBeta * variance;
    r = std::sqrt(variance) * z.Next();
    if (t >= 0) Print(r);
  }
}

// x_(t+1) = 4 x_t (1 - x_t), started from a uniform draw in (0, 1).
void WriteLogistic(long n, uint64_t seed) {
  SplitMix64 uniform(seed);
  double x = uniform.Uniform();
  for (long i = 0; i < n; ++i) {
    x = 4.0 * x * (1.0 - x);
    Print(x);
  }
}

int Usage() {
  std::fprintf(stderr, "usage: make_series normal|garch|logistic <n> [seed]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) return Usage();
  const std::string kind = argv[1];
  char* end = nullptr;
  const long n = std::strtol(argv[2], &end, 10);
  if (*argv[2] == '\0' || *end != '\0' || n < 0) return Usage();
  uint64_t seed = kind == "normal" ? 1 : kind == "garch" ? 2 : 3;
  if (argc == 4) {
    seed = std::strtoull(argv[3], &end, 10);
    if (*argv[3] == '\0' || *end != '\0') return Usage();
  }
  if (kind == "normal") {
    WriteNormal(n, seed);
  } else if (kind == "garch") {
    WriteGarch(n, seed);
  } else if (kind == "logistic") {
    WriteLogistic(n, seed);
  } else {
    return Usage();
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
