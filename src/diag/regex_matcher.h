#pragma once
// Regular expressions of the JScript/VBScript dialect (lazy quantifiers,
// \w and friends, groups; IgnoreCase, Multiline and Global) over the
// program's GBK texts. One object per use: Match compiles and runs a
// pattern, the other operations read what the last Match found.
//
// Matching runs on the text decoded to wide characters, one per GBK
// character, so a match never begins inside a double-byte character, and
// positions handed back are 0-based byte offsets into the GBK text. Match
// and sub-match numbers are 1-based. Nothing here throws: a pattern that
// does not compile makes Match return false.
//
// The engine is PCRE2 (16-bit, without its Unicode tables), given the
// pattern in its own syntax (diag/jscript_pattern.h) and, when case is
// ignored, the text in JScript's canonical case (diag/jscript_case.h).
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class RegexMatcher {
 public:
  RegexMatcher();
  ~RegexMatcher();
  RegexMatcher(const RegexMatcher&);
  RegexMatcher& operator=(const RegexMatcher&);

  // True when the pattern compiled and ran, whether or not it matched; a
  // search that runs out of steps keeps the matches found before it. With
  // quoteSubstitution, every "#引号" in the pattern stands for a double quote.
  bool Match(std::string_view pattern, std::string_view text, bool caseSensitive = false,
             bool multiline = true, bool global = true, bool quoteSubstitution = false);

  // The pattern of the last Match (after the quote substitution); empty
  // before the first.
  std::string GetPattern() const;
  // The searched text with the matches replaced ($1, $&, $$ ... as in
  // JScript); only the first when the last Match was not global. Empty
  // when there is nothing compiled.
  std::string Replace(std::string_view replacement) const;

  int MatchCount() const;
  // The text of match `index`; `position` receives its byte offset, or -2
  // when there is no such match. Empty text for an index out of range.
  std::string MatchText(int index, int* position = nullptr) const;
  // The text of group `subIndex` of match `matchIndex`; a group that took
  // part in nothing gives the empty text and position -2.
  std::string SubMatchText(int matchIndex, int subIndex, int* position = nullptr) const;
  // The number of groups in the first match; 0 without a match.
  int SubMatchCount() const;

 private:
  struct Compiled;
  struct Span {
    std::size_t begin = 0, end = 0;  // wide-character indices
  };
  struct Found {
    Span whole;
    std::vector<std::optional<Span>> groups;
  };

  std::string SpanText(const Span& span) const;
  int SpanPosition(const Span& span) const;
  const Found* FoundAt(int index) const;

  bool hasPattern_ = false;
  std::string pattern_;
  std::shared_ptr<const Compiled> compiled_;  // empty when the pattern failed
  bool global_ = true;
  std::string text_;
  std::vector<std::size_t> byteOffsets_;  // of text_'s characters, plus its length
  std::u16string wideText_;
  std::vector<Found> found_;
};
