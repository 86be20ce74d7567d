#pragma once
// Turning the PAC template pac.txt into the PAC script: two placeholders,
// "__PROXY__" and "__DIRECT__", case-sensitive, any number of each.
#include <initializer_list>
#include <string>
#include <string_view>

// What a PAC script returns for the local listener: "PROXY 127.0.0.1:" for
// the HTTP Run mode, "SOCKS5 127.0.0.1:" otherwise, then the port and
// ";DIRECT;" so a dead listener falls back to a direct connection.
std::string PacProxyEntry(std::string_view runMode, std::string_view localPort);

// Every "__PROXY__" becomes the entry, then every "__DIRECT__" becomes
// "DIRECT". Time and memory grow linearly with the template.
std::string FillPacTemplate(std::string_view pacTemplate, std::string_view proxyEntry);

struct TextReplacement {
  std::string_view from;  // ASCII, not empty
  std::string_view to;
};
// One pass from the left: wherever one of the `from` texts starts on a GBK
// character boundary it becomes its `to`; replaced text is not looked at
// again. The result is allocated once, at its final size.
std::string ReplaceEach(std::string_view text, std::initializer_list<TextReplacement> replacements);
inline std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  return ReplaceEach(text, {{from, to}});
}
