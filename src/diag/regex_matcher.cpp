#include "diag/regex_matcher.h"

#include <cstdint>
#include <exception>
#include <iterator>
#include <regex>

#include "shared/gbk_wide.h"

namespace {

// The standard traits read character classes and case from the C library's
// locale, which differs between Windows and glibc beyond ASCII. JScript's
// rules are fixed: \w and \d are ASCII only, \s also takes the Unicode
// blanks, and letters fold by simple case mapping.
class JScriptTraits : public std::regex_traits<wchar_t> {
  using Base = std::regex_traits<wchar_t>;

 public:
  bool isctype(wchar_t c, char_class_type f) const {
    if (static_cast<std::uint32_t>(c) < 0x80) return Base::isctype(c, f);
    return f == SpaceClass() && IsUnicodeBlank(static_cast<std::uint32_t>(c));
  }

  wchar_t translate_nocase(wchar_t c) const { return static_cast<wchar_t>(FoldCase(static_cast<std::uint32_t>(c))); }

 private:
  static char_class_type SpaceClass() {
    static const char_class_type space = [] {
      const wchar_t name[] = L"s";
      return Base().lookup_classname(name, name + 1);
    }();
    return space;
  }

  static bool IsUnicodeBlank(std::uint32_t c) {
    return c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 ||
           c == 0x202F || c == 0x205F || c == 0x3000 || c == 0xFEFF;
  }

  // Lower case for the cased letters GBK holds: ASCII, Greek, Cyrillic and
  // the full-width Latin forms.
  static std::uint32_t FoldCase(std::uint32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 0x20;
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    if (c >= 0xFF21 && c <= 0xFF3A) return c + 0x20;
    return c;
  }
};

using JScriptRegex = std::basic_regex<wchar_t, JScriptTraits>;
using WideIterator = std::wstring::const_iterator;
using WideMatch = std::match_results<WideIterator>;

constexpr std::string_view kQuotePlaceholder = "#引号";

std::string WithQuotes(std::string_view pattern) {
  std::string out;
  std::size_t pos = 0;
  for (std::size_t hit; (hit = pattern.find(kQuotePlaceholder, pos)) != std::string_view::npos;
       pos = hit + kQuotePlaceholder.size())
    out.append(pattern.substr(pos, hit - pos)).push_back('"');
  return out.append(pattern.substr(pos));
}

}  // namespace

struct RegexMatcher::Compiled {
  JScriptRegex regex;
};

RegexMatcher::RegexMatcher() = default;
RegexMatcher::~RegexMatcher() = default;
RegexMatcher::RegexMatcher(const RegexMatcher&) = default;
RegexMatcher& RegexMatcher::operator=(const RegexMatcher&) = default;

bool RegexMatcher::Match(std::string_view pattern, std::string_view text, bool caseSensitive,
                         bool multiline, bool global, bool quoteSubstitution) {
  hasPattern_ = true;
  pattern_ = quoteSubstitution ? WithQuotes(pattern) : std::string(pattern);
  global_ = global;
  compiled_.reset();
  found_.clear();
  text_ = std::string(text);
  gbk::WideText decoded = gbk::DecodeWithOffsets(text_);
  wideText_ = std::move(decoded.text);
  byteOffsets_ = std::move(decoded.byteOffsets);

  auto flags = std::regex_constants::ECMAScript;
  if (!caseSensitive) flags |= std::regex_constants::icase;
  if (multiline) flags |= std::regex_constants::multiline;
  try {
    auto compiled = std::make_shared<Compiled>(Compiled{JScriptRegex(gbk::ToWide(pattern_), flags)});
    const auto toSpan = [this](const auto& sub) {
      return Span{static_cast<std::size_t>(sub.first - wideText_.cbegin()),
                  static_cast<std::size_t>(sub.second - wideText_.cbegin())};
    };
    const auto keep = [&](const WideMatch& m) {
      Found found{toSpan(m[0]), {}};
      for (std::size_t g = 1; g < m.size(); ++g)
        found.groups.push_back(m[g].matched ? std::optional<Span>(toSpan(m[g])) : std::nullopt);
      found_.push_back(std::move(found));
    };
    if (global) {
      std::regex_iterator<WideIterator, wchar_t, JScriptTraits> it(wideText_.cbegin(), wideText_.cend(),
                                                                    compiled->regex), end;
      for (; it != end; ++it) keep(*it);
    } else {
      WideMatch m;
      if (std::regex_search(wideText_.cbegin(), wideText_.cend(), m, compiled->regex)) keep(m);
    }
    compiled_ = std::move(compiled);
    return true;
  } catch (const std::exception&) {
    // An invalid pattern, or one too complex for the text: no collection.
    found_.clear();
    return false;
  }
}

std::string RegexMatcher::GetPattern() const { return hasPattern_ ? pattern_ : std::string(); }

std::string RegexMatcher::Replace(std::string_view replacement) const {
  if (!compiled_) return {};
  // Text outside the matches is copied byte for byte, so bytes that have no
  // wide form survive the replacement.
  const std::wstring format = gbk::ToWide(replacement);
  std::string out;
  std::size_t copiedTo = 0;  // wide index
  try {
    std::regex_iterator<WideIterator, wchar_t, JScriptTraits> it(wideText_.cbegin(), wideText_.cend(),
                                                                  compiled_->regex), end;
    for (; it != end; ++it) {
      const auto begin = static_cast<std::size_t>((*it)[0].first - wideText_.cbegin());
      const auto stop = static_cast<std::size_t>((*it)[0].second - wideText_.cbegin());
      out.append(text_, byteOffsets_[copiedTo], byteOffsets_[begin] - byteOffsets_[copiedTo]);
      out.append(gbk::FromWide(it->format(format)));
      copiedTo = stop;
      if (!global_) break;
    }
  } catch (const std::exception&) {
    return {};
  }
  return out.append(text_, byteOffsets_[copiedTo], std::string::npos);
}

int RegexMatcher::MatchCount() const { return static_cast<int>(found_.size()); }

const RegexMatcher::Found* RegexMatcher::FoundAt(int index) const {
  if (index < 1 || index > MatchCount()) return nullptr;
  return &found_[static_cast<std::size_t>(index - 1)];
}

std::string RegexMatcher::SpanText(const Span& span) const {
  return text_.substr(byteOffsets_[span.begin], byteOffsets_[span.end] - byteOffsets_[span.begin]);
}

int RegexMatcher::SpanPosition(const Span& span) const { return static_cast<int>(byteOffsets_[span.begin]); }

std::string RegexMatcher::MatchText(int index, int* position) const {
  const Found* found = FoundAt(index);
  if (position) *position = found ? SpanPosition(found->whole) : -2;
  return found ? SpanText(found->whole) : std::string();
}

std::string RegexMatcher::SubMatchText(int matchIndex, int subIndex, int* position) const {
  const Found* found = FoundAt(matchIndex);
  const bool inRange = found && subIndex >= 1 && subIndex <= static_cast<int>(found->groups.size());
  const std::optional<Span> group = inRange ? found->groups[static_cast<std::size_t>(subIndex - 1)] : std::nullopt;
  if (position) *position = group ? SpanPosition(*group) : -2;
  return group ? SpanText(*group) : std::string();
}

int RegexMatcher::SubMatchCount() const {
  return found_.empty() ? 0 : static_cast<int>(found_.front().groups.size());
}
