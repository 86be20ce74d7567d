#pragma once
// Which Windows code page a character-set name stands for, as web pages
// name them in a meta element. Names compare ignoring ASCII case.
#include <cstdint>
#include <optional>
#include <string_view>

// UTF-16 has no MultiByteToWideChar code page; these two numbers stand for
// its little- and big-endian forms and are converted by hand.
inline constexpr std::uint32_t kCodePageUtf16LE = 1200;
inline constexpr std::uint32_t kCodePageUtf16BE = 1201;

// Nothing for a name the program does not know.
std::optional<std::uint32_t> CodePageForCharset(std::string_view name);
