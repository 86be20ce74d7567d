#pragma once
// How JScript's IgnoreCase compares characters: two characters are the same
// when their canonical forms are, and the canonical form is the character's
// upper case when that is a single character, except that nothing beyond
// ASCII becomes ASCII (so "ſ" is not "s" and "ß" stays itself). ς, σ and Σ
// are one letter; so are ⅰ and Ⅰ, á and Á.
#include <vector>

namespace jscript {

char16_t CanonicalCase(char16_t c);

// The canonical forms of the characters in [first, last] that are not their
// own canonical form.
std::vector<char16_t> CaseImagesIn(char16_t first, char16_t last);

}  // namespace jscript
