#pragma once
// Helpers for GBK byte strings. A GBK character is one byte below 0x81, or a
// lead byte 0x81..0xFE followed by a trail byte 0x40..0xFE. Trail bytes can
// look like ASCII ('\\', '[', ']', letters), so searches for those must step
// over whole characters.
#include <cstddef>
#include <string>
#include <string_view>

namespace gbk {

inline bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

// Length in bytes of the character starting at `pos`.
std::size_t CharLength(std::string_view text, std::size_t pos);

// Byte position of the last character equal to `ascii`, or npos.
std::size_t FindLast(std::string_view text, char ascii);
// Byte position of the first character equal to `ascii` at or after `from`.
std::size_t FindFirst(std::string_view text, char ascii, std::size_t from = 0);

// The longest prefix of at most `maxBytes` bytes that ends on a character
// boundary.
std::string_view CutToFit(std::string_view text, std::size_t maxBytes);

// The text with every lead byte that has no trail byte after it (a value cut
// short, or bytes of another encoding) turned into "?": what an A-function
// may be given without reading past the end or eating the next character.
std::string WholeCharacters(std::string_view text);

// ASCII A-Z turned into a-z, double-byte characters untouched.
std::string AsciiLower(std::string_view text);

// Full-width forms (GBK A3A1..A3FE, and the ideographic space A1A1) turned
// into their ASCII forms; everything else kept.
std::string FullWidthToAscii(std::string_view text);

}  // namespace gbk
