#pragma once
// A JScript regular expression written as a PCRE2 pattern (16-bit units,
// without UTF mode or Unicode tables) that means the same.
//
// Only what is plainly PCRE2's and JScript's alike goes through as written:
// groups, alternatives and quantifiers. Every character, class and escape
// is spelt out, so none of PCRE2's own syntax (POSIX classes, \Q, \h,
// possessive quantifiers, verbs) can get in. With ignoreCase, the pattern
// expects a subject whose characters are all in canonical case
// (jscript::CanonicalCase), and the compile needs no caseless option.
// Line ends and anchors do not depend on PCRE2's newline setting.
#include <optional>
#include <string>
#include <string_view>

namespace jscript {

// Nothing for a pattern that JScript rejects.
std::optional<std::u16string> TranslatePattern(std::u16string_view pattern, bool ignoreCase, bool multiline);

}  // namespace jscript
