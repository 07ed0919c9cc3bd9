#pragma once
// The uniform random source of the damper's speckles; injectable and seeded
// so that pictures can be checked.

#include <cstdint>
#include <random>

namespace tolvi {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A uniform draw in [0, 1).
    virtual double next() = 0;
};

class SeededRandom : public RandomSource {
public:
    explicit SeededRandom(std::uint32_t seed = 20061208u) : engine_(seed) {}
    double next() override { return std::uniform_real_distribution<double>(0.0, 1.0)(engine_); }

private:
    std::mt19937 engine_;
};

}  // namespace tolvi
