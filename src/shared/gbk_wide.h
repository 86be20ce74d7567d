#pragma once
// GBK text and wide text, converted one character to one wide character.
// GBK lies wholly in the Basic Multilingual Plane, so a character of one or
// two bytes (as gbk::CharLength cuts them) is always one UTF-16 unit, and
// an index into the wide text maps straight to a byte offset. Bytes that
// the code page does not map read as U+FFFD and write back as "?".
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace gbk {

struct WideText {
  std::wstring text;
  // byteOffsets[i] is the byte offset of wide character i; one more entry
  // holds the length of the GBK text.
  std::vector<std::size_t> byteOffsets;
};

WideText DecodeWithOffsets(std::string_view text);
std::wstring ToWide(std::string_view text);
std::string FromWide(std::wstring_view text);

}  // namespace gbk
