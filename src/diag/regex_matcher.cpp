#include "diag/regex_matcher.h"

#include <pcre2.h>

#include <cstdint>
#include <utility>

#include "shared/gbk_wide.h"

namespace {

// JScript's rules are fixed: \w, \d and \b are ASCII only (PCRE2's own
// tables, without its Unicode option, agree), \s also takes the Unicode
// blanks, "." stops at the four line terminators, and letters fold by
// simple case mapping.
constexpr std::u16string_view kBlanks =
    u"\\t\\n\\x{0b}\\f\\r \\x{a0}\\x{1680}\\x{2000}-\\x{200a}\\x{2028}\\x{2029}\\x{202f}\\x{205f}\\x{3000}\\x{feff}";
// Everything else, for \S inside a class.
constexpr std::u16string_view kNonBlanks =
    u"\\x{00}-\\x{08}\\x{0e}-\\x{1f}\\x{21}-\\x{9f}\\x{a1}-\\x{167f}\\x{1681}-\\x{1fff}\\x{200b}-\\x{2027}"
    u"\\x{202a}-\\x{202e}\\x{2030}-\\x{205e}\\x{2060}-\\x{2fff}\\x{3001}-\\x{fefe}\\x{ff00}-\\x{ffff}";
constexpr std::u16string_view kAnyButLineEnd = u"[^\\n\\r\\x{2028}\\x{2029}]";

// Lower case for the cased letters GBK holds beyond ASCII: Greek, Cyrillic
// and the full-width Latin forms. ASCII is folded by the engine.
char16_t FoldCase(char16_t c) {
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return static_cast<char16_t>(c + 0x20);
  if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 0x20);
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 0x50);
  if (c >= 0xFF21 && c <= 0xFF3A) return static_cast<char16_t>(c + 0x20);
  return c;
}

std::u16string ToUtf16(std::wstring_view wide) {
  // GBK decodes to the Basic Multilingual Plane only.
  return std::u16string(wide.begin(), wide.end());
}

int HexValue(char16_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The value of `digits` hexadecimal digits at `at`, or -1.
long HexAt(std::u16string_view s, std::size_t at, std::size_t digits) {
  if (at + digits > s.size()) return -1;
  long value = 0;
  for (std::size_t i = 0; i < digits; ++i) {
    const int v = HexValue(s[at + i]);
    if (v < 0) return -1;
    value = value * 16 + v;
  }
  return value;
}

class PatternTranslator {
 public:
  PatternTranslator(std::u16string_view pattern, bool fold) : in_(pattern), fold_(fold) {}

  // The PCRE2 pattern with JScript's meaning; nothing for syntax JScript
  // does not have.
  std::optional<std::u16string> Translate() {
    for (i_ = 0; i_ < in_.size();) {
      const char16_t c = in_[i_++];
      if (c == '\\') {
        if (!Escape()) return std::nullopt;
      } else if (inClass_) {
        // "]" right after "[" or "[^" ends the class too: JScript's empty
        // and full classes. A "[" inside is a character, never a POSIX class.
        if (c == ']') {
          inClass_ = false;
          out_ += c;
        } else if (c == '[') {
          out_ += u"\\[";
        } else {
          Literal(c);
        }
      } else if (c == '[') {
        inClass_ = true;
        out_ += c;
        if (i_ < in_.size() && in_[i_] == '^') out_ += in_[i_++];
      } else if (c == '(') {
        // Only (?: (?= (?!) exist; (*VERB) and named groups do not.
        if (i_ < in_.size() && in_[i_] == '*') return std::nullopt;
        if (i_ < in_.size() && in_[i_] == '?') {
          if (i_ + 1 >= in_.size() || (in_[i_ + 1] != ':' && in_[i_ + 1] != '=' && in_[i_ + 1] != '!'))
            return std::nullopt;
        }
        out_ += c;
      } else if (c == '.') {
        out_ += kAnyButLineEnd;
      } else if (c == '*' || c == '+' || c == '?' || (c == '}' && ClosesCount())) {
        out_ += c;
        if (i_ < in_.size() && in_[i_] == '?') out_ += in_[i_++];
        // A possessive quantifier is PCRE2's own.
        if (i_ < in_.size() && in_[i_] == '+' && (c != '?' || !AfterGroupOpen())) return std::nullopt;
      } else {
        Literal(c);
      }
    }
    return out_;
  }

 private:
  bool Escape() {
    if (i_ >= in_.size()) return false;
    const char16_t c = in_[i_++];
    switch (c) {
      case 's':
        out_ += inClass_ ? std::u16string(kBlanks) : u"[" + std::u16string(kBlanks) + u"]";
        return true;
      case 'S':
        out_ += inClass_ ? std::u16string(kNonBlanks) : u"[^" + std::u16string(kBlanks) + u"]";
        return true;
      case 'v':
        out_ += u"\\x{0b}";
        return true;
      case 'u':
      case 'x': {
        const std::size_t digits = c == 'u' ? 4 : 2;
        const long value = HexAt(in_, i_, digits);
        if (value < 0) {
          Literal(c);  // not an escape: the letter itself
          return true;
        }
        i_ += digits;
        Literal(static_cast<char16_t>(value), true);
        return true;
      }
      case 'c':
        if (i_ < in_.size() && ((in_[i_] >= 'a' && in_[i_] <= 'z') || (in_[i_] >= 'A' && in_[i_] <= 'Z'))) {
          out_ += u"\\c";
          out_ += in_[i_++];
        } else {
          out_ += u"\\\\c";  // JScript reads a backslash and a "c"
        }
        return true;
      case 'd': case 'D': case 'w': case 'W': case 'b': case 'B': case 'f': case 'n': case 'r': case 't':
        out_ += u'\\';
        out_ += c;
        return true;
      default:
        break;
    }
    if (c >= '0' && c <= '9') {
      out_ += u'\\';
      out_ += c;
      return true;
    }
    // Every other escaped character stands for itself; PCRE2 gives many
    // letters a meaning of its own (\a, \e, \h, \Q, \p, ...).
    Literal(c, true);
    return true;
  }

  // A character of the pattern that means itself, or that an escape gave
  // (`escaped`), which must mean itself even where it is syntax.
  void Literal(char16_t c, bool escaped = false) {
    if (fold_) c = FoldCase(c);
    const bool asciiLetterOrDigit = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (escaped && c >= 0x20 && c < 0x80 && !asciiLetterOrDigit) {
      // Escaped punctuation is itself in PCRE2 too, in a class or not.
      out_ += u'\\';
      out_ += c;
    } else if (c < 0x20 || c >= 0x80) {
      out_ += u"\\x{";
      static constexpr char16_t kHex[] = u"0123456789abcdef";
      for (int shift = 12; shift >= 0; shift -= 4) out_ += kHex[(c >> shift) & 0xF];
      out_ += u'}';
    } else {
      out_ += c;
    }
  }

  // Whether the "}" just read ends a count such as {2} or {1,3}.
  bool ClosesCount() const {
    std::size_t j = i_ - 1;  // at the "}"
    bool digits = false, comma = false;
    while (j > 0) {
      const char16_t p = in_[--j];
      if (p == '{') return digits && !(comma && in_[j + 1] == ',');
      if (p >= '0' && p <= '9') digits = true;
      else if (p == ',' && !comma) comma = true;
      else return false;
    }
    return false;
  }

  bool AfterGroupOpen() const { return i_ >= 2 && in_[i_ - 2] == '('; }

  std::u16string_view in_;
  bool fold_;
  std::size_t i_ = 0;
  bool inClass_ = false;
  std::u16string out_;
};

constexpr std::string_view kQuotePlaceholder = "#引号";

std::string WithQuotes(std::string_view pattern) {
  std::string out;
  std::size_t pos = 0;
  for (std::size_t hit; (hit = pattern.find(kQuotePlaceholder, pos)) != std::string_view::npos;
       pos = hit + kQuotePlaceholder.size())
    out.append(pattern.substr(pos, hit - pos)).push_back('"');
  return out.append(pattern.substr(pos));
}

PCRE2_SPTR16 Units(const std::u16string& s) { return reinterpret_cast<PCRE2_SPTR16>(s.data()); }

}  // namespace

struct RegexMatcher::Compiled {
  explicit Compiled(pcre2_code_16* c) : code(c) {}
  ~Compiled() { pcre2_code_free_16(code); }
  Compiled(const Compiled&) = delete;
  Compiled& operator=(const Compiled&) = delete;
  pcre2_code_16* code;
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
  wideText_ = ToUtf16(decoded.text);
  byteOffsets_ = std::move(decoded.byteOffsets);

  const auto translated = PatternTranslator(ToUtf16(gbk::ToWide(pattern_)), !caseSensitive).Translate();
  if (!translated) return false;
  std::uint32_t options = PCRE2_DOLLAR_ENDONLY | PCRE2_ALLOW_EMPTY_CLASS | PCRE2_MATCH_UNSET_BACKREF;
  if (!caseSensitive) options |= PCRE2_CASELESS;
  if (multiline) options |= PCRE2_MULTILINE;
  pcre2_compile_context_16* context = pcre2_compile_context_create_16(nullptr);
  if (!context) return false;
  pcre2_set_newline_16(context, PCRE2_NEWLINE_ANYCRLF);
  int error = 0;
  PCRE2_SIZE errorOffset = 0;
  pcre2_code_16* code =
      pcre2_compile_16(Units(*translated), translated->size(), options, &error, &errorOffset, context);
  pcre2_compile_context_free_16(context);
  if (!code) return false;
  auto compiled = std::make_shared<const Compiled>(code);

  std::u16string subject = wideText_;
  if (!caseSensitive)
    for (char16_t& c : subject) c = FoldCase(c);
  pcre2_match_data_16* data = pcre2_match_data_create_from_pattern_16(code, nullptr);
  if (!data) return false;
  bool ran = true;
  for (std::size_t start = 0; start <= subject.size();) {
    const int rc = pcre2_match_16(code, Units(subject), subject.size(), start, 0, data, nullptr);
    if (rc == PCRE2_ERROR_NOMATCH) break;
    if (rc < 0) {
      // Too complex for the text: no collection.
      ran = false;
      break;
    }
    const PCRE2_SIZE* vector = pcre2_get_ovector_pointer_16(data);
    const std::uint32_t pairs = pcre2_get_ovector_count_16(data);
    Found found{{vector[0], vector[1]}, {}};
    for (std::uint32_t g = 1; g < pairs; ++g)
      found.groups.push_back(vector[2 * g] == PCRE2_UNSET ? std::nullopt
                                                           : std::optional<Span>(Span{vector[2 * g], vector[2 * g + 1]}));
    found_.push_back(std::move(found));
    if (!global) break;
    // After an empty match the search goes on one character further.
    start = vector[1] > vector[0] ? vector[1] : vector[1] + 1;
  }
  pcre2_match_data_free_16(data);
  if (!ran) {
    found_.clear();
    return false;
  }
  compiled_ = std::move(compiled);
  return true;
}

std::string RegexMatcher::GetPattern() const { return hasPattern_ ? pattern_ : std::string(); }

std::string RegexMatcher::Replace(std::string_view replacement) const {
  if (!compiled_) return {};
  // Text outside the matches is copied byte for byte, so bytes that have no
  // wide form survive the replacement. $$, $&, $`, $' and $1 to $99 are
  // read as JScript reads them.
  const std::u16string format = ToUtf16(gbk::ToWide(replacement));
  auto wide = [this](std::size_t begin, std::size_t end) { return std::u16string_view(wideText_).substr(begin, end - begin); };
  std::string out;
  std::size_t copiedTo = 0;  // wide index
  for (const Found& found : found_) {
    out.append(text_, byteOffsets_[copiedTo], byteOffsets_[found.whole.begin] - byteOffsets_[copiedTo]);
    std::u16string piece;
    for (std::size_t i = 0; i < format.size(); ++i) {
      const char16_t c = format[i];
      const char16_t next = i + 1 < format.size() ? format[i + 1] : u'\0';
      auto digit = [](char16_t d) { return d >= '0' && d <= '9' ? d - '0' : -1; };
      const std::size_t groups = found.groups.size();
      if (c != '$' || next == u'\0') {
        piece += c;
      } else if (next == '$') {
        piece += u'$', ++i;
      } else if (next == '&') {
        piece += wide(found.whole.begin, found.whole.end), ++i;
      } else if (next == '`') {
        piece += wide(0, found.whole.begin), ++i;
      } else if (next == '\'') {
        piece += wide(found.whole.end, wideText_.size()), ++i;
      } else if (digit(next) >= 0) {
        std::size_t n = static_cast<std::size_t>(digit(next));
        std::size_t used = 1;
        const int second = i + 2 < format.size() ? digit(format[i + 2]) : -1;
        if (second >= 0 && n * 10 + static_cast<std::size_t>(second) >= 1 &&
            n * 10 + static_cast<std::size_t>(second) <= groups) {
          n = n * 10 + static_cast<std::size_t>(second);
          used = 2;
        }
        if (n >= 1 && n <= groups) {
          if (const auto& group = found.groups[n - 1]) piece += wide(group->begin, group->end);
          i += used;
        } else {
          piece += c;
        }
      } else {
        piece += c;
      }
    }
    out.append(gbk::FromWide(std::wstring(piece.begin(), piece.end())));
    copiedTo = found.whole.end;
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
