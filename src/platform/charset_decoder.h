#pragma once
// Reading bytes in a named character set, the job a web page's meta
// charset asks for.
#include <optional>
#include <string>
#include <string_view>

class CharsetDecoder {
 public:
  virtual ~CharsetDecoder() = default;
  // `bytes` read in the character set `charset` (a name as web pages give
  // it, any case), written as GBK text; characters GBK lacks become "?".
  // Nothing when the name is unknown or the bytes cannot be converted.
  virtual std::optional<std::string> Decode(std::string_view bytes, const std::string& charset) = 0;
};
