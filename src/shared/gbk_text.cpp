#include "shared/gbk_text.h"

namespace gbk {

std::size_t CharLength(std::string_view text, std::size_t pos) {
  // A lead byte before anything but a trail byte (a CR, a quote) stands
  // alone, so a broken character never swallows the ASCII after it.
  if (pos + 1 < text.size() && IsLeadByte(static_cast<unsigned char>(text[pos])) &&
      static_cast<unsigned char>(text[pos + 1]) >= 0x40 && text[pos + 1] != 0x7F &&
      static_cast<unsigned char>(text[pos + 1]) != 0xFF)
    return 2;
  return 1;
}

std::string WholeCharacters(std::string_view text) {
  std::string out(text);
  for (std::size_t pos = 0; pos < out.size(); pos += CharLength(out, pos))
    if (IsLeadByte(static_cast<unsigned char>(out[pos])) && CharLength(out, pos) == 1) out[pos] = '?';
  return out;
}

std::size_t FindFirst(std::string_view text, char ascii, std::size_t from) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t len = CharLength(text, pos);
    if (pos >= from && len == 1 && text[pos] == ascii) return pos;
    pos += len;
  }
  return std::string_view::npos;
}

std::size_t FindLast(std::string_view text, char ascii) {
  std::size_t found = std::string_view::npos;
  for (std::size_t pos = 0; pos < text.size(); pos += CharLength(text, pos))
    if (CharLength(text, pos) == 1 && text[pos] == ascii) found = pos;
  return found;
}

std::string_view CutToFit(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  std::size_t end = 0;
  while (end < text.size()) {
    std::size_t next = end + CharLength(text, end);
    if (next > maxBytes) break;
    end = next;
  }
  return text.substr(0, end);
}

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (std::size_t pos = 0; pos < out.size(); pos += CharLength(out, pos))
    if (out[pos] >= 'A' && out[pos] <= 'Z') out[pos] = static_cast<char>(out[pos] - 'A' + 'a');
  return out;
}

std::string FullWidthToAscii(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t len = CharLength(text, pos);
    auto lead = static_cast<unsigned char>(text[pos]);
    auto trail = len == 2 ? static_cast<unsigned char>(text[pos + 1]) : 0;
    if (len == 2 && lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE)
      out += static_cast<char>(trail - 0xA1 + 0x21);
    else if (len == 2 && lead == 0xA1 && trail == 0xA1)
      out += ' ';
    else
      out.append(text.substr(pos, len));
    pos += len;
  }
  return out;
}

}  // namespace gbk
