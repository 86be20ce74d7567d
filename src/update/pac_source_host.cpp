#include "update/pac_source_host.h"

#include <algorithm>

#include "shared/gbk_text.h"

namespace {

constexpr std::size_t kLongestHostName = 253;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::string_view Trimmed(std::string_view text) {
  constexpr std::string_view blanks = " \t\r\n";
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// Letters, digits and inner hyphens, in dot-separated labels.
bool IsHostName(std::string_view host) {
  if (host.empty() || host.size() > kLongestHostName) return false;
  std::size_t start = 0;
  for (;;) {
    const std::size_t dot = std::min(host.find('.', start), host.size());
    const std::string_view label = host.substr(start, dot - start);
    if (label.empty() || label.size() > 63 || label.front() == '-' || label.back() == '-') return false;
    if (!std::all_of(label.begin(), label.end(), [](char c) { return IsAsciiLetter(c) || IsDigit(c) || c == '-'; }))
      return false;
    if (dot == host.size()) return true;
    start = dot + 1;
  }
}

bool IsPort(std::string_view port) {
  if (port.empty() || port.size() > 5 || !std::all_of(port.begin(), port.end(), IsDigit)) return false;
  const int value = std::stoi(std::string(port));
  return value >= 1 && value <= 65535;
}

// host or host:port; the host part through `host`.
bool SplitHostAndPort(std::string_view text, std::string_view& host) {
  const std::size_t colon = text.rfind(':');
  const bool bracketed = text.starts_with('[');
  if (colon != std::string_view::npos && (!bracketed || colon > text.find(']'))) {
    if (!IsPort(text.substr(colon + 1))) return false;
    text = text.substr(0, colon);
  }
  host = text;
  return true;
}

bool IsLoopback(std::string_view host) {
  if (gbk::AsciiLower(host) == "localhost" || host == "[::1]") return true;
  // 127.a.b.c, each part a number up to 255.
  if (!host.starts_with("127.")) return false;
  int parts = 0;
  for (std::size_t start = 0; start <= host.size(); ++parts) {
    const std::size_t dot = std::min(host.find('.', start), host.size());
    const std::string_view part = host.substr(start, dot - start);
    if (part.empty() || part.size() > 3 || !std::all_of(part.begin(), part.end(), IsDigit) ||
        std::stoi(std::string(part)) > 255)
      return false;
    start = dot + 1;
  }
  return parts == 4;
}

}  // namespace

std::string PacSourceHostFrom(std::string_view answer) {
  const std::string_view text = Trimmed(answer);
  std::string_view host;
  for (std::string_view scheme : {"http://", "https://"}) {
    if (gbk::AsciiLower(text.substr(0, scheme.size())) != scheme) continue;
    if (!SplitHostAndPort(text.substr(scheme.size()), host) || !IsLoopback(host)) return {};
    return std::string(text);
  }
  if (!SplitHostAndPort(text, host) || !IsHostName(host)) return {};
  return std::string(text);
}
