#include "system/pac_template.h"

#include "shared/gbk_text.h"

std::string PacProxyEntry(std::string_view runMode, std::string_view localPort) {
  std::string entry = runMode == "HTTP" ? "PROXY 127.0.0.1:" : "SOCKS5 127.0.0.1:";
  entry.append(localPort);
  entry.append(";DIRECT;");
  return entry;
}

std::string FillPacTemplate(std::string_view pacTemplate, std::string_view proxyEntry) {
  return ReplaceAll(ReplaceAll(pacTemplate, "__PROXY__", proxyEntry), "__DIRECT__", "DIRECT");
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string result;
  result.reserve(text.size());
  std::size_t copied = 0;  // text before this position is already in result
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (text[pos] == from[0] && text.compare(pos, from.size(), from) == 0) {
      result.append(text, copied, pos - copied);
      result.append(to);
      pos += from.size();
      copied = pos;
    } else {
      pos += gbk::CharLength(text, pos);
    }
  }
  result.append(text, copied);
  return result;
}
