// Seeded pseudo-random streams of the simulations: one stream per replication,
// derived from (seed, replication index) alone, so that a replication draws the
// same numbers whichever thread runs it and in whatever order.
//
// The generator is xoshiro256** (Blackman and Vigna); its four state words are
// the first four outputs of splitmix64 started at Mix64(Mix64(seed) ^ index).
// Mix64 (the splitmix64 finaliser) is a bijection, so the streams of one seed
// start from distinct states for distinct indexes.
#pragma once

#include <cstdint>
#include <span>

namespace ixo {

// The splitmix64 finaliser: a bijection of the 64-bit words that spreads every
// input bit over the whole output.
std::uint64_t Mix64(std::uint64_t z);

class RandomStream {
 public:
  // The stream of replication `index` under `seed`.
  RandomStream(std::uint64_t seed, std::uint64_t index);

  // The next 64 uniformly distributed bits.
  std::uint64_t Next();

  // Uniform on 0 .. bound - 1 without bias (Lemire's multiply-and-reject);
  // requires bound >= 1.
  std::uint64_t Below(std::uint64_t bound);

  // Uniform on [0, 1) in steps of 2^-53.
  double Uniform();

  // A standard normal deviate by Marsaglia's polar method: (u, v) uniform in
  // the square (-1, 1)^2 with s = u^2 + v^2 in (0, 1) (others drawn again)
  // give u * sqrt(-2 ln s / s) now and v * sqrt(-2 ln s / s) on the next call.
  double Normal();

 private:
  std::uint64_t state_[4];
  double spare_ = 0;
  bool has_spare_ = false;
};

// Puts `values` in a uniformly random order by the Fisher-Yates shuffle: for
// i = size - 1 down to 1, swap position i with position Below(i + 1).
void Shuffle(std::span<double> values, RandomStream& stream);

}  // namespace ixo
