#include "shared/command_line_quoting.h"

#include <vector>

namespace {

bool In(unsigned char b, unsigned char low, unsigned char high) { return b >= low && b <= high; }

// Lead and trail bytes of the double-byte ANSI code pages; every other
// code page has none.
bool IsLeadByte(unsigned codePage, unsigned char b) {
  switch (codePage) {
    case 932: return In(b, 0x81, 0x9F) || In(b, 0xE0, 0xFC);
    case 936: case 949: case 950: return In(b, 0x81, 0xFE);
    default: return false;
  }
}

bool IsTrailByte(unsigned codePage, unsigned char b) {
  switch (codePage) {
    case 932: return In(b, 0x40, 0x7E) || In(b, 0x80, 0xFC);
    case 936: return In(b, 0x40, 0xFE) && b != 0x7F;
    case 949: return In(b, 0x41, 0x5A) || In(b, 0x61, 0x7A) || In(b, 0x81, 0xFE);
    case 950: return In(b, 0x40, 0x7E) || In(b, 0xA1, 0xFE);
    default: return false;
  }
}

// The text as characters of the code page, each one or two bytes; a lead
// byte without a valid second byte is replaced by "?".
std::vector<std::string_view> Characters(std::string_view text, unsigned codePage) {
  std::vector<std::string_view> chars;
  for (std::size_t pos = 0; pos < text.size();) {
    const auto b = static_cast<unsigned char>(text[pos]);
    if (!IsLeadByte(codePage, b)) {
      chars.push_back(text.substr(pos, 1));
      ++pos;
    } else if (pos + 1 < text.size() && IsTrailByte(codePage, static_cast<unsigned char>(text[pos + 1]))) {
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

std::string QuoteArgument(std::string_view text, unsigned codePage) {
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (std::string_view c : Characters(text, codePage)) {
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

std::string QuoteArgumentIfNeeded(std::string_view text, unsigned codePage) {
  std::string bare;
  for (std::string_view c : Characters(text, codePage)) bare += c;
  return NeedsQuotes(bare) ? QuoteArgument(bare, codePage) : bare;
}

std::string QuoteProgramPath(std::string_view path, unsigned codePage) {
  std::string quoted = "\"";
  for (std::string_view c : Characters(path, codePage))
    if (c != "\"") quoted += c;
  quoted += '"';
  return quoted;
}
