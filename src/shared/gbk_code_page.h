#pragma once
// The system's own reading of code page 936, one character at a time. The
// program builds its GBK tables from it once, so both builds read GBK the
// way their system does: Windows through MultiByteToWideChar, the native
// build through glibc's iconv.
#include <cstddef>
#include <cstdint>

namespace gbk {

// The UTF-16 unit for one GBK character of one or two bytes; 0 when the
// code page maps those bytes to no single character.
std::uint16_t SystemDecodeCharacter(const unsigned char* bytes, std::size_t length);

}  // namespace gbk
