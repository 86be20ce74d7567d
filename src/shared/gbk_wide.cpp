#include "shared/gbk_wide.h"

#include <array>
#include <cstdint>
#include <memory>

#include "shared/gbk_code_page.h"
#include "shared/gbk_text.h"

namespace gbk {

namespace {

constexpr std::uint16_t kReplacement = 0xFFFD;

// Both directions of code page 936, read from the system once per process.
struct Tables {
  // [lead - 0x81][trail]: every byte can follow a lead byte as far as
  // CharLength is concerned, so the table keeps all 256.
  std::array<std::array<std::uint16_t, 256>, 126> doubleByte{};
  std::array<std::uint16_t, 128> highSingle{};  // 0x80..0xFF alone
  std::array<std::uint16_t, 65536> encode{};    // UTF-16 unit -> GBK bytes, 0 = none

  Tables() {
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
      const unsigned char byte = static_cast<unsigned char>(b);
      const std::uint16_t w = SystemDecodeCharacter(&byte, 1);
      highSingle[b - 0x80] = w ? w : kReplacement;
      if (w) encode[w] = static_cast<std::uint16_t>(b);
    }
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
      for (unsigned trail = 0; trail <= 0xFF; ++trail) {
        const unsigned char pair[2] = {static_cast<unsigned char>(lead), static_cast<unsigned char>(trail)};
        const std::uint16_t w = trail >= 0x40 ? SystemDecodeCharacter(pair, 2) : 0;
        doubleByte[lead - 0x81][trail] = w ? w : kReplacement;
        if (w && !encode[w]) encode[w] = static_cast<std::uint16_t>(lead << 8 | trail);
      }
    }
    for (unsigned c = 0; c < 0x80; ++c) encode[c] = static_cast<std::uint16_t>(c);
  }
};

const Tables& CodePage() {
  static const auto tables = std::make_unique<Tables>();
  return *tables;
}

wchar_t DecodeCharacter(const Tables& t, std::string_view text, std::size_t pos, std::size_t len) {
  const auto first = static_cast<unsigned char>(text[pos]);
  if (len == 2) return static_cast<wchar_t>(t.doubleByte[first - 0x81][static_cast<unsigned char>(text[pos + 1])]);
  if (first < 0x80) return static_cast<wchar_t>(first);
  return static_cast<wchar_t>(t.highSingle[first - 0x80]);
}

}  // namespace

WideText DecodeWithOffsets(std::string_view text) {
  const Tables& t = CodePage();
  WideText out;
  out.text.reserve(text.size());
  out.byteOffsets.reserve(text.size() + 1);
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t len = CharLength(text, pos);
    out.text.push_back(DecodeCharacter(t, text, pos, len));
    out.byteOffsets.push_back(pos);
    pos += len;
  }
  out.byteOffsets.push_back(text.size());
  return out;
}

std::wstring ToWide(std::string_view text) { return DecodeWithOffsets(text).text; }

std::string FromWide(std::wstring_view text) {
  const Tables& t = CodePage();
  std::string out;
  out.reserve(text.size() * 2);
  for (wchar_t w : text) {
    const auto unit = static_cast<std::uint32_t>(w);
    const std::uint16_t code = unit < 0x10000 ? t.encode[unit] : 0;
    if (unit == 0)
      out.push_back('\0');
    else if (code == 0)
      out.push_back('?');
    else if (code < 0x100)
      out.push_back(static_cast<char>(code));
    else
      out.append({static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)});
  }
  return out;
}

}  // namespace gbk
