#pragma once

#include <cstdint>

namespace at::test {

// A small, fast and reproducible source of pseudo-random bits for property tests.
class Xorshift {
  public:
    explicit Xorshift(std::uint64_t seed) : state_(seed) {}
    std::uint64_t operator()() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return state_;
    }

  private:
    std::uint64_t state_;
};

}  // namespace at::test
