#include "system/pac_template.h"

#include "shared/gbk_text.h"

std::string PacProxyEntry(std::string_view runMode, std::string_view localPort) {
  std::string entry = runMode == "HTTP" ? "PROXY 127.0.0.1:" : "SOCKS5 127.0.0.1:";
  entry.append(localPort);
  entry.append(";DIRECT;");
  return entry;
}

std::string FillPacTemplate(std::string_view pacTemplate, std::string_view proxyEntry) {
  // Replacing "__DIRECT__" after "__PROXY__" also reaches a "__DIRECT__"
  // inside the entry (a port typed that way). Doing that to the entry first
  // gives the same script in a single pass over the template: no
  // "__DIRECT__" can straddle an entry's edge, which starts with a letter
  // and ends with ";".
  const std::string entry = ReplaceAll(proxyEntry, "__DIRECT__", "DIRECT");
  return ReplaceEach(pacTemplate, {{"__PROXY__", entry}, {"__DIRECT__", "DIRECT"}});
}

namespace {

// Calls found(position, replacement) for every match, left to right. One
// step per character: a byte below 0x81 is a character of its own, any
// other begins a two-byte one. Kept inline: templates run to megabytes.
template <typename Found>
void ForEachMatch(std::string_view text, std::initializer_list<TextReplacement> replacements, Found found) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (gbk::IsLeadByte(static_cast<unsigned char>(text[pos]))) {
      pos += pos + 1 < text.size() ? 2 : 1;
      continue;
    }
    const TextReplacement* match = nullptr;
    for (const TextReplacement& r : replacements)
      if (text[pos] == r.from[0] && text.compare(pos, r.from.size(), r.from) == 0) {
        match = &r;
        break;
      }
    if (match) {
      found(pos, *match);
      pos += match->from.size();
    } else {
      ++pos;
    }
  }
}

}  // namespace

std::string ReplaceEach(std::string_view text, std::initializer_list<TextReplacement> replacements) {
  for (const TextReplacement& r : replacements)
    if (r.from.empty()) return std::string(text);

  std::size_t size = text.size();
  ForEachMatch(text, replacements, [&](std::size_t, const TextReplacement& r) { size += r.to.size() - r.from.size(); });

  std::string result;
  result.reserve(size);
  std::size_t copied = 0;  // text before this position is already in result
  ForEachMatch(text, replacements, [&](std::size_t pos, const TextReplacement& r) {
    result.append(text, copied, pos - copied);
    result.append(r.to);
    copied = pos + r.from.size();
  });
  result.append(text, copied);
  return result;
}
