// SPDX-License-Identifier: MIT
// The small seeded random source of the corpus generator: the same seed gives the same files.
#pragma once

#include <cstddef>
#include <cstdint>

class CorpusRandom {
 public:
  explicit CorpusRandom(uint64_t seed) : m_state(seed) {}

  // A number in [0, n); n must be above 0.
  unsigned Below(unsigned n) { return static_cast<unsigned>(Next() % n); }
  bool OneIn(unsigned n) { return Below(n) == 0; }
  // Percent chance: true in about percent out of 100 calls.
  bool Chance(unsigned percent) { return Below(100) < percent; }
  template <typename T, size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Below(static_cast<unsigned>(N))];
  }
  uint64_t Next() {
    // splitmix64
    uint64_t x = (m_state += 0x9E3779B97F4A7C15ull);
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
  }

 private:
  uint64_t m_state;
};
