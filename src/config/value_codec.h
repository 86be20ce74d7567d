#pragma once
// How config.ini spells booleans and numbers.
#include <string>
#include <string_view>

// Only the exact text "false" is off; anything else, "" included, is on.
inline bool ReadBoolean(std::string_view text) { return text != "false"; }
inline std::string_view WriteBoolean(bool on) { return on ? "true" : "false"; }

// Full-width characters read as their ASCII forms, then the text is read as
// atoi reads it: leading blanks and a sign, digits up to the first other
// character, 0 without digits. Out-of-range values stop at the int limits.
int ReadInteger(std::string_view text);
