#include "system/proxy_ownership.h"

#include <algorithm>

#include "shared/gbk_text.h"
#include "system/pac_token.h"

namespace {

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "http://127.0.0.1:<port>[/<token>]/pac?t=<n>".
bool IsPacServerAddress(std::string_view url) {
  constexpr std::string_view head = "http://127.0.0.1:";
  constexpr std::string_view tail = "/pac?t=";
  if (!url.starts_with(head)) return false;
  url.remove_prefix(head.size());
  const std::size_t path = url.find('/');
  if (path == std::string_view::npos || !AllDigits(url.substr(0, path))) return false;
  url.remove_prefix(path);
  if (!url.starts_with(tail)) {
    const std::size_t end = url.find('/', 1);
    if (end == std::string_view::npos || !IsPacToken(url.substr(1, end - 1))) return false;
    url.remove_prefix(end);
  }
  return url.starts_with(tail) && AllDigits(url.substr(tail.size()));
}

}  // namespace

bool IsOwnProxyServer(std::uint32_t proxyEnable, std::string_view server, std::string_view localPort) {
  return proxyEnable == 1 && server == "127.0.0.1:" + std::string(localPort);
}

bool IsOwnPacAddress(std::string_view url, std::string_view engineDirectory) {
  if (url.empty()) return false;
  // Windows paths ignore letter case.
  return IsPacServerAddress(url) ||
         gbk::AsciiLower(std::string(url)) == gbk::AsciiLower("file://" + std::string(engineDirectory) + "pac");
}
