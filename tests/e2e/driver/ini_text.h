#pragma once
// Reading config.ini as the program left it, independently of the program's
// own INI code: "[Section]" lines and "key=value" lines, CR LF or LF.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

// The value of the first `key` in `section`; nothing when there is none.
std::optional<std::string> IniValue(std::string_view text, std::string_view section, std::string_view key);
// The keys of `section` in file order; empty when the section is missing.
std::vector<std::string> IniKeys(std::string_view text, std::string_view section);
// The section names in file order.
std::vector<std::string> IniSections(std::string_view text);

}  // namespace e2e
