#pragma once
#include <random>

// The program's one generator of numbers in [0, 1): preview tokens, the "Random"
// case modes and the random Format tags. Seeded once from a high-resolution
// clock; never reseeded per draw, which would repeat a pattern within one tick.
class RandomSource {
public:
    RandomSource();
    explicit RandomSource(unsigned seed) : engine_(seed) {}
    double next() { return dist_(engine_); }
    // A whole number in [0, n).
    int below(int n) { return n <= 0 ? 0 : static_cast<int>(next() * n) % n; }

private:
    std::mt19937 engine_;
    std::uniform_real_distribution<double> dist_{0.0, 1.0};
};
