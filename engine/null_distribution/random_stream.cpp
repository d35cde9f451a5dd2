#include "random_stream.h"

#include <cmath>
#include <utility>

namespace ixo {
namespace {

constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15ULL;

std::uint64_t RotateLeft(std::uint64_t x, int k) {
  return (x << k) | (x >> (64 - k));
}

}  // namespace

std::uint64_t Mix64(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

RandomStream::RandomStream(std::uint64_t seed, std::uint64_t index) {
  std::uint64_t splitmix = Mix64(Mix64(seed) ^ index);
  for (std::uint64_t& word : state_) word = Mix64(splitmix += kGolden);
}

std::uint64_t RandomStream::Next() {
  std::uint64_t* s = state_;
  const std::uint64_t result = RotateLeft(s[1] * 5, 7) * 9;
  const std::uint64_t t = s[1] << 17;
  s[2] ^= s[0];
  s[3] ^= s[1];
  s[1] ^= s[2];
  s[0] ^= s[3];
  s[2] ^= t;
  s[3] = RotateLeft(s[3], 45);
  return result;
}

std::uint64_t RandomStream::Below(std::uint64_t bound) {
  // The high word of a 128-bit product is uniform on 0 .. bound - 1 once the
  // products whose low word falls below 2^64 mod bound are drawn again.
  unsigned __int128 product = static_cast<unsigned __int128>(Next()) * bound;
  auto low = static_cast<std::uint64_t>(product);
  if (low < bound) {
    const std::uint64_t threshold = (0 - bound) % bound;
    while (low < threshold) {
      product = static_cast<unsigned __int128>(Next()) * bound;
      low = static_cast<std::uint64_t>(product);
    }
  }
  return static_cast<std::uint64_t>(product >> 64);
}

double RandomStream::Uniform() {
  return static_cast<double>(Next() >> 11) * 0x1.0p-53;
}

double RandomStream::Normal() {
  if (has_spare_) {
    has_spare_ = false;
    return spare_;
  }
  double u = 0;
  double v = 0;
  double s = 0;
  do {
    u = 2 * Uniform() - 1;
    v = 2 * Uniform() - 1;
    s = u * u + v * v;
  } while (s >= 1 || s == 0);
  const double factor = std::sqrt(-2 * std::log(s) / s);
  spare_ = v * factor;
  has_spare_ = true;
  return u * factor;
}

void Shuffle(std::span<double> values, RandomStream& stream) {
  for (std::size_t i = values.size(); i > 1; --i) {
    const std::size_t j = stream.Below(i);
    std::swap(values[i - 1], values[j]);
  }
}

}  // namespace ixo
