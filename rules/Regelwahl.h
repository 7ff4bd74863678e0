// The random choice among several rules of one head: a fixed function of the
// seed a run starts from and of the character's path, the positions, within
// each replacement from the axiom down, of the characters it came from. The
// choice draws nothing from the run's random generator, and every picture of
// a stochastic recipe depends on it: it must never change.
//
// The mixer is SplitMix64's output function. The path of the axiom is
// Mischen(Saat); the character at position p of a text whose own path is P
// has the path Mischen(P + 0x9E3779B97F4A7C15 * (p + 1)), the (p + 1)-th
// output of a SplitMix64 generator started at P. Of k rules the one chosen is
// the upper 64 bits of path * k: each with chance 1/k, without a modulo.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint64_t Mischen(uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

constexpr uint64_t PfadAnfang(uint32_t Saat) { return Mischen(Saat); }

constexpr uint64_t PfadSchritt(uint64_t Pfad, size_t Pos) {
  return Mischen(Pfad + 0x9E3779B97F4A7C15ull * (static_cast<uint64_t>(Pos) + 1));
}

// Which of k rules (k > 0) the character with this path gets, 0 to k - 1.
constexpr size_t RegelWaehlen(uint64_t Pfad, size_t k) {
  return static_cast<size_t>((static_cast<unsigned __int128>(Pfad) * k) >> 64);
}
