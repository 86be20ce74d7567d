#pragma once
// How Windows programs split a command line into arguments, for checking the
// command lines the program builds.
#include <string>
#include <vector>

namespace argv_splitter_detail {
inline bool IsLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
inline bool IsTrail(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }
}  // namespace argv_splitter_detail

// How CommandLineToArgvW (and the C runtime) split a command line, applied
// to GBK text the way Windows does: after conversion to UTF-16, so a
// double-byte character is one character even when its second byte equals
// a backslash. The program runs to the next quote when it begins with one;
// in the arguments, 2n backslashes before a quote give n and a quote that
// opens or closes, 2n+1 give n and a literal quote, others are literal.
// On code page 1252 every byte is a character; on 65001 (UTF-8) no byte
// of a multi-byte character is ASCII, so each byte may stand alone too.
inline std::vector<std::string> SplitCommandLine(const std::string& line, unsigned codePage = 936) {
  std::vector<std::string> args;
  std::size_t pos = 0;
  using argv_splitter_detail::IsLead, argv_splitter_detail::IsTrail;
  auto charLength = [&](std::size_t at) {
    return codePage == 936 && at + 1 < line.size() && IsLead(line[at]) && IsTrail(line[at + 1]) ? 2 : 1;
  };

  std::string program;
  if (!line.empty() && line[0] == '"') {
    for (pos = 1; pos < line.size() && line[pos] != '"'; pos += charLength(pos))
      program += line.substr(pos, charLength(pos));
    ++pos;
  } else {
    for (; pos < line.size() && line[pos] != ' ' && line[pos] != '\t'; pos += charLength(pos))
      program += line.substr(pos, charLength(pos));
  }
  args.push_back(program);

  for (;;) {
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    if (pos >= line.size()) break;
    std::string arg;
    bool quoted = false;
    while (pos < line.size()) {
      const int length = charLength(pos);
      const char c = line[pos];
      if (length == 2) {
        arg += line.substr(pos, 2);
        pos += 2;
      } else if (c == '\\') {
        std::size_t n = 0;
        while (pos < line.size() && line[pos] == '\\') ++n, ++pos;
        if (pos < line.size() && line[pos] == '"') {
          arg.append(n / 2, '\\');
          if (n % 2) arg += '"', ++pos;
        } else {
          arg.append(n, '\\');
        }
      } else if (c == '"') {
        if (quoted && pos + 1 < line.size() && line[pos + 1] == '"') {
          arg += '"';
          pos += 2;
        } else {
          quoted = !quoted;
          ++pos;
        }
      } else if ((c == ' ' || c == '\t') && !quoted) {
        break;
      } else {
        arg += c;
        ++pos;
      }
    }
    args.push_back(arg);
  }
  return args;
}
