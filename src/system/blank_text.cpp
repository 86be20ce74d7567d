#include "system/blank_text.h"

#include "shared/gbk_text.h"

namespace {

constexpr std::string_view kFullWidthBlank = "\xA1\xA1";

// Length of the blank at `pos`, 0 when the character there is none.
std::size_t BlankAt(std::string_view text, std::size_t pos) {
  if (text[pos] == ' ') return 1;
  return text.substr(pos, 2) == kFullWidthBlank ? 2 : 0;
}

}  // namespace

std::string RemoveBlanks(std::string_view text) {
  std::string kept;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = gbk::CharLength(text, pos);
    if (!BlankAt(text, pos)) kept.append(text.substr(pos, length));
    pos += length;
  }
  return kept;
}

std::string_view TrimBlanks(std::string_view text) {
  std::size_t begin = 0;
  while (begin < text.size() && BlankAt(text, begin)) begin += BlankAt(text, begin);
  // The end is found walking forward: a trail byte may look like a blank.
  std::size_t end = begin;
  for (std::size_t pos = begin; pos < text.size();) {
    const std::size_t length = gbk::CharLength(text, pos);
    if (!BlankAt(text, pos)) end = pos + length;
    pos += length;
  }
  return text.substr(begin, end - begin);
}
