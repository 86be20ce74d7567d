#pragma once
// The system's cryptographic random numbers.
#include <cstddef>
#include <string>

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // `count` random bytes; empty when the system cannot give them.
  virtual std::string Bytes(std::size_t count) = 0;
};
