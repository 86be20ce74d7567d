#include "shared/command_line_quoting.h"

#include <vector>

#include "shared/gbk_text.h"

namespace {

bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

// The text as GBK characters, each one or two bytes; a lead byte without a
// valid second byte is replaced by "?".
std::vector<std::string_view> Characters(std::string_view text) {
  std::vector<std::string_view> chars;
  for (std::size_t pos = 0; pos < text.size();) {
    const auto b = static_cast<unsigned char>(text[pos]);
    if (!gbk::IsLeadByte(b)) {
      chars.push_back(text.substr(pos, 1));
      ++pos;
    } else if (pos + 1 < text.size() && IsTrailByte(static_cast<unsigned char>(text[pos + 1]))) {
      chars.push_back(text.substr(pos, 2));
      pos += 2;
    } else {
      chars.push_back("?");
      ++pos;
    }
  }
  return chars;
}

bool NeedsQuotes(std::string_view text) {
  return text.empty() || text.find_first_of(" \t\n\v\"") != std::string_view::npos;
}

}  // namespace

std::string QuoteArgument(std::string_view text) {
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (std::string_view c : Characters(text)) {
    if (c == "\\") {
      ++backslashes;
      continue;
    }
    if (c == "\"")
      quoted.append(backslashes * 2 + 1, '\\');  // each one doubled, then one for the quote
    else
      quoted.append(backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, '\\');  // they stand before the closing quote
  quoted += '"';
  return quoted;
}

std::string QuoteArgumentIfNeeded(std::string_view text) {
  std::string bare;
  for (std::string_view c : Characters(text)) bare += c;
  return NeedsQuotes(bare) ? QuoteArgument(bare) : bare;
}

std::string QuoteProgramPath(std::string_view path) {
  std::string quoted = "\"";
  for (std::string_view c : Characters(path))
    if (c != "\"") quoted += c;
  quoted += '"';
  return quoted;
}
