#include "links/share_link_codec.h"

#include <array>
#include <utility>

#include "shared/gbk_text.h"

namespace {

// The space and the reserved characters of RFC 3986 that a link escapes,
// in the order unescaping replaces them. Nothing else is escaped, "%"
// included, so a literal "%40" in a password comes back as "@".
constexpr std::array<std::pair<char, std::string_view>, 19> kEscapes{{
    {' ', "%20"}, {'!', "%21"}, {'#', "%23"}, {'$', "%24"}, {'&', "%26"},
    {'\'', "%27"}, {'(', "%28"}, {')', "%29"}, {'*', "%2A"}, {'+', "%2B"},
    {',', "%2C"}, {'/', "%2F"}, {':', "%3A"}, {';', "%3B"}, {'=', "%3D"},
    {'?', "%3F"}, {'@', "%40"}, {'[', "%5B"}, {']', "%5D"},
}};

constexpr std::array<std::string_view, 3> kProtocolWords{"default", "stream", "vpn"};

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  for (std::size_t hit; (hit = text.find(from, pos)) != std::string_view::npos; pos = hit + from.size())
    out.append(text.substr(pos, hit - pos)).append(to);
  return out.append(text.substr(pos));
}

// Every separator ends a piece, so adjacent separators give an empty piece;
// what follows the last separator is a piece only when it is not empty.
std::vector<std::string_view> SplitPieces(std::string_view text, std::string_view separator) {
  std::vector<std::string_view> pieces;
  std::size_t pos = 0;
  for (std::size_t hit; (hit = text.find(separator, pos)) != std::string_view::npos; pos = hit + separator.size())
    pieces.push_back(text.substr(pos, hit - pos));
  if (pos < text.size()) pieces.push_back(text.substr(pos));
  return pieces;
}

std::optional<int> ProtocolOfWord(std::string_view word) {
  for (std::size_t i = 0; i < kProtocolWords.size(); ++i)
    if (word == kProtocolWords[i]) return static_cast<int>(i);
  return std::nullopt;
}

}  // namespace

std::string EscapeLinkBody(std::string_view body) {
  // Only single-byte characters are escaped: the second byte of a GBK
  // character may have the value of "@" or "[", but it is part of that
  // character and stays with it. Links whose trail bytes were escaped come
  // back the same way, as unescaping replaces codes wherever they stand.
  std::string out;
  out.reserve(body.size() * 2);
  for (std::size_t pos = 0; pos < body.size();) {
    const std::size_t length = gbk::CharLength(body, pos);
    std::string_view code;
    if (length == 1)
      for (const auto& [character, escape] : kEscapes)
        if (body[pos] == character) code = escape;
    if (code.empty())
      out.append(body.substr(pos, length));
    else
      out.append(code);
    pos += length;
  }
  return out;
}

std::string UnescapeLinkBody(std::string_view escaped) {
  // One pass per code, in table order, as the format has always done it.
  std::string text(escaped);
  for (const auto& [character, code] : kEscapes)
    if (text.find(code) != std::string::npos) text = ReplaceAll(text, code, std::string_view(&character, 1));
  return text;
}

std::string_view ProtocolWord(int protocol) {
  if (protocol < 0 || protocol >= static_cast<int>(kProtocolWords.size())) return {};
  return kProtocolWords[static_cast<std::size_t>(protocol)];
}

std::string ShareLinkFor(const LinkedNode& node) {
  std::string body(ProtocolWord(node.protocol));
  body.append(" ").append(node.address).append(":").append(node.port).append(" ").append(node.password);
  return std::string(kShareLinkScheme) + EscapeLinkBody(body);
}

std::optional<LinkedNode> ParseShareLink(std::string_view line) {
  if (!line.starts_with(kShareLinkScheme)) return std::nullopt;
  const std::string body = UnescapeLinkBody(line.substr(kShareLinkScheme.size()));

  const std::vector<std::string_view> fields = SplitPieces(body, " ");
  if (fields.size() != 3) return std::nullopt;
  const std::vector<std::string_view> server = SplitPieces(fields[1], ":");
  if (server.size() != 2) return std::nullopt;
  const std::optional<int> protocol = ProtocolOfWord(fields[0]);
  if (!protocol) return std::nullopt;

  return LinkedNode{std::string(server[0]), std::string(server[1]), std::string(fields[2]), *protocol};
}

std::vector<std::string_view> LinkLines(std::string_view text) { return SplitPieces(text, "\r\n"); }

std::string WithoutSpaces(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t len = gbk::CharLength(text, pos);
    const std::string_view ch = text.substr(pos, len);
    if (ch != " " && ch != "\xA1\xA1") out.append(ch);
    pos += len;
  }
  return out;
}
