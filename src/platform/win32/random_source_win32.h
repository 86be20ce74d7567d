#pragma once
// RtlGenRandom (advapi32's SystemFunction036), the generator Windows' own
// CryptGenRandom draws from.
#include "platform/random_source.h"

class Win32RandomSource final : public RandomSource {
 public:
  std::string Bytes(std::size_t count) override;
};
