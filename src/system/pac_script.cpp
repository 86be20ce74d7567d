#include "system/pac_script.h"

namespace {

// Well-formed UTF-8: every lead byte followed by as many continuation
// bytes as it announces, no overlong or surrogate forms, nothing past
// U+10FFFF. A GBK text with Chinese in it almost never passes.
bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(i);
    std::size_t length = 1;
    unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
    if (lead < 0x80) {
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (i + length > text.size() || byte(i + 1) < low || byte(i + 1) > high) return false;
    for (std::size_t k = 2; k < length; ++k)
      if ((byte(i + k) & 0xC0) != 0x80) return false;
    i += length;
  }
  return true;
}

}  // namespace

bool DefinesFindProxyForUrl(std::string_view script) {
  return script.find("FindProxyForURL") != std::string_view::npos;
}

std::string_view PacScriptCharset(std::string_view script) { return IsUtf8(script) ? "utf-8" : "gbk"; }
