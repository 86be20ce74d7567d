#pragma once
// Reading single registry values. Texts are GBK bytes.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

// A string value without its terminating zeros; nothing when the key or
// the value is missing or is not a string.
std::optional<std::string> ReadRegistryString(HKEY root, const std::string& key, const std::string& name);
// A 32-bit number value; nothing when missing or of another type.
std::optional<std::uint32_t> ReadRegistryNumber(HKEY root, const std::string& key, const std::string& name);
