#include "diag/text_search.h"

#include "shared/gbk_text.h"

namespace {

constexpr std::string_view kFullWidthSpace = "\xA1\xA1";

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameAt(std::string_view text, std::size_t pos, std::string_view marker, bool ignoreCase) {
  if (text.size() - pos < marker.size()) return false;
  for (std::size_t i = 0; i < marker.size(); ++i) {
    const char a = text[pos + i], b = marker[i];
    if (ignoreCase ? LowerAscii(a) != LowerAscii(b) : a != b) return false;
  }
  return true;
}

std::string WithQuotes(std::string_view marker) { return ReplaceText(marker, "#引号", "\""); }

std::size_t StartOffset(int start) { return start < 1 ? 0 : static_cast<std::size_t>(start - 1); }

std::string_view CharAt(std::string_view text, std::size_t pos) {
  return text.substr(pos, gbk::CharLength(text, pos));
}

// The first character boundary at or after `from`, walking from a known
// boundary so that long texts are not walked again from their start.
std::size_t BoundaryAtOrAfter(std::string_view text, std::size_t from, std::size_t knownBoundary) {
  std::size_t pos = knownBoundary;
  while (pos < from && pos < text.size()) pos += gbk::CharLength(text, pos);
  return pos;
}

std::size_t FindFromBoundary(std::string_view text, std::string_view marker, std::size_t pos, bool ignoreCase) {
  if (marker.empty()) return std::string_view::npos;
  for (; pos < text.size(); pos += gbk::CharLength(text, pos))
    if (SameAt(text, pos, marker, ignoreCase)) return pos;
  return std::string_view::npos;
}

// Calls `piece` for the text before each marker, then returns where the
// rest after the last marker begins.
template <class Piece>
std::size_t ForEachMarker(std::string_view text, std::string_view marker, bool ignoreCase, Piece&& piece) {
  std::size_t pos = 0;
  for (std::size_t hit; (hit = FindFromBoundary(text, marker, pos, ignoreCase)) != std::string_view::npos;) {
    piece(text.substr(pos, hit - pos));
    pos = BoundaryAtOrAfter(text, hit + marker.size(), hit);
  }
  return pos;
}

}  // namespace

std::size_t FindText(std::string_view text, std::string_view marker, std::size_t from, bool ignoreCase) {
  return FindFromBoundary(text, marker, BoundaryAtOrAfter(text, from, 0), ignoreCase);
}

std::string TextBefore(std::string_view text, std::string_view marker, int start, bool ignoreCase) {
  const std::size_t at = FindText(text, marker, StartOffset(start), ignoreCase);
  return at == std::string_view::npos ? std::string() : std::string(text.substr(0, at));
}

std::string TextBetween(std::string_view text, std::string_view left, std::string_view right, int start,
                        bool ignoreCase) {
  const std::string l = WithQuotes(left), r = WithQuotes(right);
  const std::size_t leftAt = FindText(text, l, StartOffset(start), ignoreCase);
  if (leftAt == std::string_view::npos) return {};
  const std::size_t from = leftAt + l.size();
  const std::size_t rightAt = FindText(text, r, from, ignoreCase);
  if (rightAt == std::string_view::npos) return {};
  return std::string(text.substr(from, rightAt - from));
}

std::string ReplaceText(std::string_view text, std::string_view marker, std::string_view with, bool ignoreCase) {
  std::string out;
  const std::size_t rest = ForEachMarker(text, marker, ignoreCase, [&](std::string_view before) {
    out.append(before).append(with);
  });
  return out.append(text.substr(rest));
}

std::vector<std::string> SplitText(std::string_view text, std::string_view separator) {
  std::vector<std::string> items;
  const std::size_t rest = ForEachMarker(text, separator, false, [&](std::string_view item) {
    items.emplace_back(item);
  });
  if (rest < text.size()) items.emplace_back(text.substr(rest));
  return items;
}

std::string TrimBlanks(std::string_view text) {
  std::size_t begin = 0;
  while (begin < text.size()) {
    const std::string_view ch = CharAt(text, begin);
    if (ch != " " && ch != kFullWidthSpace) break;
    begin += ch.size();
  }
  // The end is found walking forward, so a trail byte is never taken for
  // the start of a blank.
  std::size_t end = begin;
  for (std::size_t pos = begin; pos < text.size();) {
    const std::string_view ch = CharAt(text, pos);
    pos += ch.size();
    if (ch != " " && ch != kFullWidthSpace) end = pos;
  }
  return std::string(text.substr(begin, end - begin));
}

std::string WithoutBlanks(std::string_view text) {
  std::string out;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::string_view ch = CharAt(text, pos);
    if (ch != " " && ch != kFullWidthSpace) out.append(ch);
    pos += ch.size();
  }
  return out;
}
