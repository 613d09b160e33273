#pragma once

#include <cmath>
#include <cstdint>

namespace orvalle::sim {

// The simulator's random numbers: xoshiro256** seeded through splitmix64.
// Every draw is computed here from integers, so a seed gives the same race
// data on every platform and library version (std:: distributions do not).
class Rng {
 public:
  explicit Rng(uint64_t seed) {
    uint64_t x = seed;
    for (auto& word : m_state) word = splitMix(x);
  }

  // The next 64 random bits.
  uint64_t next() {
    const uint64_t result = rotl(m_state[1] * 5, 7) * 9;
    const uint64_t t = m_state[1] << 17;
    m_state[2] ^= m_state[0];
    m_state[3] ^= m_state[1];
    m_state[1] ^= m_state[2];
    m_state[0] ^= m_state[3];
    m_state[2] ^= t;
    m_state[3] = rotl(m_state[3], 45);
    return result;
  }

  // A whole number in [0, n); 0 when n <= 0.
  int below(int n) {
    if (n <= 0) return 0;
    // 32 random bits scaled to n: the bias is below n / 2^32.
    return static_cast<int>(((next() >> 32) * static_cast<uint64_t>(n)) >> 32);
  }

  // A whole number in [low, high].
  int between(int low, int high) { return low + below(high - low + 1); }

  // A real number in [0, 1) with 53 random bits.
  double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

  // True with probability p.
  bool chance(double p) { return unit() < p; }

  // A standard normal number (Box-Muller, one value per call).
  double normal() {
    const double u1 = 1.0 - unit();  // (0, 1]
    const double u2 = unit();
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
  }

  // An index into `weights` drawn with probability proportional to its weight.
  template <typename Weights>
  int weighted(const Weights& weights) {
    double total = 0;
    for (double w : weights) total += w;
    double target = unit() * total;
    int index = 0;
    for (double w : weights) {
      if (target < w) return index;
      target -= w;
      ++index;
    }
    return index - 1;
  }

  // A derived generator for a separate purpose, so that adding draws in one
  // part of the simulation does not shift another.
  Rng fork(uint64_t salt) { return Rng(next() ^ (salt * 0x9E3779B97F4A7C15ULL)); }

 private:
  static uint64_t rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
  static uint64_t splitMix(uint64_t& x) {
    uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }

  uint64_t m_state[4];
};

// A fixed hash of small integers, for choices that must stay the same for a
// given place in the racing calendar whatever the seed (race names).
inline uint64_t mixHash(uint64_t a, uint64_t b = 0, uint64_t c = 0, uint64_t d = 0) {
  uint64_t x = a * 0x9E3779B97F4A7C15ULL ^ (b + 0x632BE59BD9B4E019ULL) * 0xBF58476D1CE4E5B9ULL ^
               (c + 0x8CB92BA72F3D8DD7ULL) * 0x94D049BB133111EBULL ^ (d + 0x2545F4914F6CDD1DULL);
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
  return x ^ (x >> 31);
}

}  // namespace orvalle::sim
