#pragma once
// Reading single registry values. Texts are GBK bytes.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

// The value's registry type and raw bytes; nothing when the key or the
// value is missing or cannot be read.
std::optional<std::pair<DWORD, std::string>> ReadRegistryValue(HKEY root, const std::string& key,
                                                              const std::string& name);
// A string value without its terminating zeros; nothing when the key or
// the value is missing or is not a string.
std::optional<std::string> ReadRegistryString(HKEY root, const std::string& key, const std::string& name);
// A 32-bit number value; nothing when missing or of another type.
std::optional<std::uint32_t> ReadRegistryNumber(HKEY root, const std::string& key, const std::string& name);
