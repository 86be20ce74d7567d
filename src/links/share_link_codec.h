#pragma once
// brook:// share links as text: one node's protocol, address, port and
// password in one line, and the way back. No window, no clipboard.
//
// A link body reads "<word> <address>:<port> <password>", the word being
// "default", "stream" or "vpn" for protocol 0, 1 and 2. The link is
// "brook://" and the body with 19 characters percent-escaped (see the .cpp).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::string_view kShareLinkScheme = "brook://";

struct LinkedNode {
  std::string address;
  std::string port;
  std::string password;
  int protocol = 0;
};

std::string EscapeLinkBody(std::string_view body);
// Exact and case-sensitive: "%3a" stays as it is.
std::string UnescapeLinkBody(std::string_view escaped);

// "default", "stream", "vpn"; empty for any other index.
std::string_view ProtocolWord(int protocol);
std::string ShareLinkFor(const LinkedNode& node);

// The node of one line, or nothing when the line is not a valid link: the
// scheme in exact case, three fields after unescaping, an address and a
// port around exactly one ":", and a known protocol word.
std::optional<LinkedNode> ParseShareLink(std::string_view line);

// The clipboard text cut at every CR LF; an empty last piece is no line.
std::vector<std::string_view> LinkLines(std::string_view text);
// Without any ASCII space or full-width space (GBK A1 A1).
std::string WithoutSpaces(std::string_view text);
