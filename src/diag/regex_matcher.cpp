#include "diag/regex_matcher.h"

#include <pcre2.h>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "diag/jscript_case.h"
#include "diag/jscript_pattern.h"
#include "shared/gbk_wide.h"

namespace {

std::u16string ToUtf16(std::wstring_view wide) {
  // GBK decodes to the Basic Multilingual Plane only.
  return std::u16string(wide.begin(), wide.end());
}

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

// JScript never gives up on a search; PCRE2 does after a number of steps. A
// plain pattern takes a few steps per character, so the budget grows with
// the text from PCRE2's own ten million, while a pattern that backtracks
// without end still stops within seconds. Backtracking memory stays what a
// 32-bit process can spare (PCRE2's default is 20 GB).
constexpr std::uint32_t kStepsPerCharacter = 100;
constexpr std::uint32_t kFewestSteps = 10'000'000;
constexpr std::uint32_t kMostSteps = 100'000'000;
constexpr std::uint32_t kBacktrackingKiB = 256 * 1024;

pcre2_match_context_16* MatchContextFor(std::size_t textLength) {
  pcre2_match_context_16* context = pcre2_match_context_create_16(nullptr);
  if (!context) return nullptr;
  const std::size_t steps = textLength < kMostSteps / kStepsPerCharacter ? textLength * kStepsPerCharacter : kMostSteps;
  pcre2_set_match_limit_16(context, static_cast<std::uint32_t>(std::max<std::size_t>(steps, kFewestSteps)));
  pcre2_set_heap_limit_16(context, kBacktrackingKiB);
  return context;
}

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

  const auto translated = jscript::TranslatePattern(ToUtf16(gbk::ToWide(pattern_)), !caseSensitive, multiline);
  if (!translated) return false;
  // The translation spells out anchors, "." and letter case, so no option
  // of PCRE2's own reads the text. Its newline is LF, the one convention
  // under which a failed try at a CR does not skip the LF after it.
  pcre2_compile_context_16* context = pcre2_compile_context_create_16(nullptr);
  if (!context) return false;
  pcre2_set_newline_16(context, PCRE2_NEWLINE_LF);
  int error = 0;
  PCRE2_SIZE errorOffset = 0;
  pcre2_code_16* code = pcre2_compile_16(Units(*translated), translated->size(), PCRE2_MATCH_UNSET_BACKREF, &error,
                                         &errorOffset, context);
  pcre2_compile_context_free_16(context);
  if (!code) return false;
  auto compiled = std::make_shared<const Compiled>(code);

  std::u16string subject = wideText_;
  if (!caseSensitive)
    for (char16_t& c : subject) c = jscript::CanonicalCase(c);
  pcre2_match_data_16* data = pcre2_match_data_create_from_pattern_16(code, nullptr);
  pcre2_match_context_16* limits = MatchContextFor(subject.size());
  const bool ready = data && limits;
  for (std::size_t start = 0; ready && start <= subject.size();) {
    // A search that runs out of steps or memory ends the collection there:
    // the matches before it stand, as JScript would have found them too.
    if (pcre2_match_16(code, Units(subject), subject.size(), start, 0, data, limits) < 0) break;
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
  pcre2_match_context_free_16(limits);
  pcre2_match_data_free_16(data);
  if (!ready) return false;
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
