#include "system/pac_token.h"

#include <algorithm>

#include "platform/random_source.h"
#include "shared/hex_text.h"

namespace {
constexpr std::size_t kTokenBytes = 16;
}

std::string NewPacToken(RandomSource& random) {
  const std::string bytes = random.Bytes(kTokenBytes);
  if (bytes.size() != kTokenBytes) return {};
  return HexOf(bytes);
}

bool IsPacToken(std::string_view text) {
  return text.size() == 2 * kTokenBytes &&
         std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}
