#pragma once
// Downloaded or file bytes "taken as text": a C string, so the text ends at
// the first NUL byte.
#include <string_view>

inline std::string_view BytesAsText(std::string_view bytes) {
  return bytes.substr(0, bytes.find('\0'));
}
