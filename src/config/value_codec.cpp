#include "config/value_codec.h"

#include <climits>

#include "shared/gbk_text.h"

int ReadInteger(std::string_view text) {
  const std::string ascii = gbk::FullWidthToAscii(text);
  std::size_t pos = 0;
  auto isBlank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (pos < ascii.size() && isBlank(ascii[pos])) ++pos;
  bool negative = false;
  if (pos < ascii.size() && (ascii[pos] == '+' || ascii[pos] == '-')) negative = ascii[pos++] == '-';
  long long value = 0;
  for (; pos < ascii.size() && ascii[pos] >= '0' && ascii[pos] <= '9'; ++pos) {
    value = value * 10 + (ascii[pos] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) break;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}
