#pragma once
// UTF-8 text beside the program's GBK: what Notepad saves by default, and
// what programs written in Go (such as Brook) print.
#include <string>
#include <string_view>

namespace utf8 {

// UTF-8 into UTF-16 units; a byte that starts no valid sequence reads as
// U+FFFD, which GBK cannot hold.
std::wstring ToWide(std::string_view bytes, bool* allValid = nullptr);

// Well-formed UTF-8 (plain ASCII too): every lead byte followed by as many
// continuation bytes as it announces, no overlong or surrogate forms,
// nothing past U+10FFFF. A GBK text with Chinese in it almost never passes.
bool IsValid(std::string_view text);

// Whether the bytes are valid UTF-8 and not plain ASCII, the rule Notepad
// reads a file without a mark by: GBK text rarely reads as UTF-8 whole.
bool ReadsAsUtf8(std::string_view bytes);

// Text of unknown encoding as GBK: converted where it reads as UTF-8 (a
// character GBK lacks becomes "?"), as it is otherwise.
std::string AsGbk(std::string_view bytes);

}  // namespace utf8
