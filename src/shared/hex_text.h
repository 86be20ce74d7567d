#pragma once
// Bytes written as lower-case hex digits, two a byte, and read back.
#include <optional>
#include <string>
#include <string_view>

std::string HexOf(std::string_view bytes);
// Nothing when `hex` is not an even number of lower-case hex digits.
std::optional<std::string> BytesOfHex(std::string_view hex);
