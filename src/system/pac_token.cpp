#include "system/pac_token.h"

#include <algorithm>

#include "platform/random_source.h"

namespace {
constexpr std::size_t kTokenBytes = 16;
}

std::string NewPacToken(RandomSource& random) {
  const std::string bytes = random.Bytes(kTokenBytes);
  if (bytes.size() != kTokenBytes) return {};
  constexpr char digits[] = "0123456789abcdef";
  std::string token;
  for (unsigned char byte : bytes) {
    token.push_back(digits[byte >> 4]);
    token.push_back(digits[byte & 0x0F]);
  }
  return token;
}

bool IsPacToken(std::string_view text) {
  return text.size() == 2 * kTokenBytes &&
         std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}
