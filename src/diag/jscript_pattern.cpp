#include "diag/jscript_pattern.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "diag/jscript_case.h"

namespace jscript {
namespace {

struct Range {
  char16_t first, last;
};
using CharSet = std::vector<Range>;

// JScript's classes are fixed: \d and \w are ASCII, \s takes the Unicode
// blanks and line ends.
const CharSet kDigits = {{'0', '9'}};
const CharSet kWordChars = {{'0', '9'}, {'A', 'Z'}, {'_', '_'}, {'a', 'z'}};
const CharSet kBlanks = {{0x09, 0x0D}, {0x20, 0x20},     {0xA0, 0xA0},     {0x1680, 0x1680}, {0x2000, 0x200A},
                         {0x2028, 0x2029}, {0x202F, 0x202F}, {0x205F, 0x205F}, {0x3000, 0x3000}, {0xFEFF, 0xFEFF}};
// Where "." stops and where the multi-line anchors match. GBK holds neither
// U+2028 nor U+2029, so in the program's texts these are "\n" and "\r"; a
// CR LF is two line ends, with an empty line between them.
constexpr std::u16string_view kAnyButLineEnd = u"[^\\n\\r\\x{2028}\\x{2029}]";
constexpr std::u16string_view kAfterLineEnd = u"(?<![^\\n\\r\\x{2028}\\x{2029}])";
constexpr std::u16string_view kBeforeLineEnd = u"(?![^\\n\\r\\x{2028}\\x{2029}])";

CharSet Normalized(CharSet set) {
  std::sort(set.begin(), set.end(), [](const Range& a, const Range& b) { return a.first < b.first; });
  CharSet merged;
  for (const Range& r : set) {
    if (!merged.empty() && r.first <= char32_t{merged.back().last} + 1)
      merged.back().last = std::max(merged.back().last, r.last);
    else
      merged.push_back(r);
  }
  return merged;
}

CharSet Complement(const CharSet& set) {
  CharSet gaps;
  char32_t next = 0;
  for (const Range& r : Normalized(set)) {
    if (r.first > next) gaps.push_back({static_cast<char16_t>(next), static_cast<char16_t>(r.first - 1)});
    next = char32_t{r.last} + 1;
  }
  if (next <= 0xFFFF) gaps.push_back({static_cast<char16_t>(next), 0xFFFF});
  return gaps;
}

// What \d, \D, \w, \W, \s or \S stands for.
std::optional<CharSet> ClassEscapeSet(char16_t letter) {
  switch (letter) {
    case 'd': return kDigits;
    case 'D': return Complement(kDigits);
    case 'w': return kWordChars;
    case 'W': return Complement(kWordChars);
    case 's': return kBlanks;
    case 'S': return Complement(kBlanks);
    default: return std::nullopt;
  }
}

bool IsDigit(char16_t c) { return c >= '0' && c <= '9'; }
bool IsOctal(char16_t c) { return c >= '0' && c <= '7'; }
bool IsAsciiLetter(char16_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

int HexValue(char16_t c) {
  if (IsDigit(c)) return c - '0';
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

// Decimal numbers in a pattern count only up to here: no pattern has more
// groups, and PCRE2 refuses larger counts anyway.
constexpr unsigned long kNumberCap = 1UL << 20;

// The capturing groups of the whole pattern: \N with more than that many is
// no back reference.
unsigned long CountGroups(std::u16string_view p) {
  unsigned long groups = 0;
  bool inClass = false;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const char16_t c = p[i];
    if (c == '\\')
      ++i;
    else if (inClass)
      inClass = c != ']';
    else if (c == '[')
      inClass = true;
    else if (c == '(' && (i + 1 >= p.size() || p[i + 1] != '?'))
      ++groups;
  }
  return groups;
}

std::u16string Decimal(unsigned long n) {
  std::u16string digits;
  do digits.insert(digits.begin(), static_cast<char16_t>('0' + n % 10));
  while ((n /= 10) != 0);
  return digits;
}

class Translator {
 public:
  Translator(std::u16string_view in, bool ignoreCase, bool multiline)
      : in_(in), fold_(ignoreCase), multiline_(multiline), groups_(CountGroups(in)) {}

  std::optional<std::u16string> Run() {
    while (i_ < in_.size())
      if (!Term()) return std::nullopt;
    return out_;
  }

 private:
  // One character or escape as it stands in a class: a character, or the
  // set of a class escape.
  struct Item {
    CharSet set;
    bool classEscape = false;
  };
  static Item One(char16_t c) { return Item{{{c, c}}}; }

  bool Term() {
    const char16_t c = in_[i_++];
    switch (c) {
      case '\\': return AtomEscape();
      case '[': return Class();
      case '(': return GroupOpen();
      case ')':
        Emit(u")", true);
        return true;
      case '|':
        Emit(u"|", false);
        return true;
      case '^':
        Emit(multiline_ ? kAfterLineEnd : u"\\A", false);
        return true;
      case '$':
        Emit(multiline_ ? kBeforeLineEnd : u"\\z", false);
        return true;
      case '.':
        Emit(kAnyButLineEnd, true);
        return true;
      case '*':
      case '+':
      case '?': return Quantifier(std::u16string(1, c));
      case '{': return Brace();
      default:
        Literal(c);
        return true;
    }
  }

  // Only (?: (?= and (?! exist; PCRE2's named groups, options, lookbehinds
  // and comments do not. "(*" fails as a quantifier with nothing to repeat.
  bool GroupOpen() {
    if (i_ < in_.size() && in_[i_] == '?') {
      if (i_ + 1 >= in_.size() || (in_[i_ + 1] != ':' && in_[i_ + 1] != '=' && in_[i_ + 1] != '!')) return false;
      Emit(in_.substr(i_ - 1, 3), false);
      i_ += 2;
    } else {
      Emit(u"(", false);
    }
    return true;
  }

  // *, +, ? or a count, and the "?" that makes it lazy. A quantifier right
  // after another (PCRE2's possessive a++), an anchor or \b has nothing to
  // repeat.
  bool Quantifier(std::u16string_view quantifier) {
    if (!repeatable_) return false;
    Emit(quantifier, false);
    if (i_ < in_.size() && in_[i_] == '?') out_ += in_[i_++];
    return true;
  }

  // After "{": {2}, {2,} and {2,5} are counts; a "{" that begins none is
  // the character, as is every "}" outside a count (so \{2}+ is "{2" and
  // one or more "}").
  bool Brace() {
    std::size_t j = i_;
    auto number = [&](unsigned long& value) {
      const std::size_t from = j;
      for (value = 0; j < in_.size() && IsDigit(in_[j]); ++j) value = std::min(value * 10 + (in_[j] - '0'), kNumberCap);
      return j > from;
    };
    unsigned long min = 0, max = 0;
    bool isCount = number(min), bounded = true;
    if (isCount && j < in_.size() && in_[j] == ',') {
      ++j;
      bounded = number(max);
    } else {
      max = min;
    }
    isCount = isCount && j < in_.size() && in_[j] == '}';
    if (!isCount) {
      Literal('{');
      return true;
    }
    if (bounded && max < min) return false;
    const std::u16string_view count = in_.substr(i_ - 1, j + 2 - i_);
    i_ = j + 1;
    return Quantifier(count);
  }

  bool AtomEscape() {
    if (i_ >= in_.size()) return false;
    const char16_t c = in_[i_];
    if (c == 'b' || c == 'B') {
      ++i_;
      Emit(c == 'b' ? u"\\b" : u"\\B", false);
      return true;
    }
    if (c >= '1' && c <= '9') {
      // A back reference when the pattern has that many groups, also one
      // that comes later; otherwise an octal escape (\1, \12) or the digit
      // itself (\8).
      std::size_t j = i_;
      unsigned long n = 0;
      for (; j < in_.size() && IsDigit(in_[j]); ++j) n = std::min(n * 10 + (in_[j] - '0'), kNumberCap);
      if (n <= groups_) {
        i_ = j;
        Emit(u"\\g{" + Decimal(n) + u"}", true);
        return true;
      }
    }
    const std::optional<Item> item = Escape(false);
    if (!item) return false;
    if (item->classEscape)
      EmitSet(item->set, false);
    else
      Literal(item->set.front().first);
    return true;
  }

  bool Class() {
    const bool negate = i_ < in_.size() && in_[i_] == '^';
    if (negate) ++i_;
    // "]" right after "[" or "[^" ends the class: JScript's class of
    // nothing and class of everything.
    CharSet set;
    auto add = [&set](const CharSet& more) { set.insert(set.end(), more.begin(), more.end()); };
    for (;;) {
      if (i_ >= in_.size()) return false;
      if (in_[i_] == ']') break;
      const std::optional<Item> from = ClassAtom();
      if (!from) return false;
      if (i_ + 1 < in_.size() && in_[i_] == '-' && in_[i_ + 1] != ']') {
        ++i_;
        const std::optional<Item> to = ClassAtom();
        if (!to) return false;
        if (from->classEscape || to->classEscape) {
          // [\w-.] is \w, "-" and ".", as in JScript.
          add(from->set);
          add({{'-', '-'}});
          add(to->set);
        } else {
          if (from->set.front().first > to->set.front().first) return false;
          add({{from->set.front().first, to->set.front().first}});
        }
      } else {
        add(from->set);
      }
    }
    ++i_;
    EmitSet(std::move(set), negate);
    return true;
  }

  std::optional<Item> ClassAtom() {
    const char16_t c = in_[i_++];
    return c == '\\' ? Escape(true) : One(c);
  }

  // The escape after a backslash, in a class or not. Back references and
  // \b outside a class are read before.
  std::optional<Item> Escape(bool inClass) {
    if (i_ >= in_.size()) return std::nullopt;
    const char16_t c = in_[i_++];
    if (std::optional<CharSet> set = ClassEscapeSet(c)) return Item{std::move(*set), true};
    switch (c) {
      case 'b': return One(0x08);  // in a class
      case 'f': return One(0x0C);
      case 'n': return One(0x0A);
      case 'r': return One(0x0D);
      case 't': return One(0x09);
      case 'v': return One(0x0B);
      case 'c': {
        const char16_t next = i_ < in_.size() ? in_[i_] : u'\0';
        if (IsAsciiLetter(next) || (inClass && (IsDigit(next) || next == '_'))) {
          ++i_;
          return One(next % 32);
        }
        --i_;  // a backslash; the "c" is read again as itself
        return One('\\');
      }
      case 'u':
      case 'x': {
        const std::size_t digits = c == 'u' ? 4 : 2;
        const long value = HexAt(in_, i_, digits);
        if (value < 0) return One(c);
        i_ += digits;
        return One(static_cast<char16_t>(value));
      }
      default: break;
    }
    if (IsDigit(c)) {
      --i_;
      return One(Octal());
    }
    return One(c);  // every other escaped character stands for itself, [\B] too
  }

  // At a digit: up to three octal digits worth at most 0377; \8 and \9 are
  // the digits.
  char16_t Octal() {
    const char16_t first = in_[i_++];
    if (!IsOctal(first)) return first;
    unsigned value = first - '0';
    if (i_ < in_.size() && IsOctal(in_[i_])) {
      value = value * 8 + (in_[i_++] - '0');
      if (first <= '3' && i_ < in_.size() && IsOctal(in_[i_])) value = value * 8 + (in_[i_++] - '0');
    }
    return static_cast<char16_t>(value);
  }

  // Under IgnoreCase a class holds a character when it holds one of the
  // same canonical form; the subject is in canonical form, so the class
  // gets the canonical forms of its members.
  void EmitSet(CharSet set, bool negate) {
    if (fold_) {
      const CharSet given = set;
      for (const Range& r : given)
        for (char16_t image : CaseImagesIn(r.first, r.last)) set.push_back({image, image});
    }
    set = Normalized(std::move(set));
    if (set.empty()) {
      Emit(negate ? u"[\\x{0}-\\x{ffff}]" : u"(?:(?!))", true);
      return;
    }
    out_ += negate ? u"[^" : u"[";
    for (const Range& r : set) {
      Hex(r.first);
      if (r.last != r.first) {
        out_ += u'-';
        Hex(r.last);
      }
    }
    Emit(u"]", true);
  }

  void Literal(char16_t c) {
    if (fold_) c = CanonicalCase(c);
    const bool asciiLetterOrDigit = IsAsciiLetter(c) || IsDigit(c);
    if (asciiLetterOrDigit)
      out_ += c;
    else
      Hex(c);
    repeatable_ = true;
  }

  void Hex(char16_t c) {
    static constexpr char16_t kHex[] = u"0123456789abcdef";
    out_ += u"\\x{";
    for (int shift = 12; shift >= 0; shift -= 4) out_ += kHex[(c >> shift) & 0xF];
    out_ += u'}';
  }

  // Output that a quantifier may follow or not.
  void Emit(std::u16string_view text, bool repeatable) {
    out_ += text;
    repeatable_ = repeatable;
  }

  std::u16string_view in_;
  bool fold_, multiline_;
  unsigned long groups_;
  std::size_t i_ = 0;
  bool repeatable_ = false;
  std::u16string out_;
};

}  // namespace

std::optional<std::u16string> TranslatePattern(std::u16string_view pattern, bool ignoreCase, bool multiline) {
  return Translator(pattern, ignoreCase, multiline).Run();
}

}  // namespace jscript
