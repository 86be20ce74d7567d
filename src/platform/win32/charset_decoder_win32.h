#pragma once
// Named character sets through the Windows code pages: the bytes become
// UTF-16 with MultiByteToWideChar, then GBK with code page 936.
#include "platform/charset_decoder.h"

class Win32CharsetDecoder final : public CharsetDecoder {
 public:
  std::optional<std::string> Decode(std::string_view bytes, const std::string& charset) override;
};
