#include "driver/ini_text.h"

namespace e2e {

namespace {

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

bool IsSectionLine(std::string_view line) { return line.size() >= 2 && line.front() == '[' && line.back() == ']'; }

// Calls `visit(key, value)` for each key line of `section`.
template <class Visit>
void ForEachEntry(std::string_view text, std::string_view section, Visit visit) {
  bool inside = false;
  for (std::string_view line : Lines(text)) {
    if (IsSectionLine(line)) {
      inside = line.substr(1, line.size() - 2) == section;
      continue;
    }
    const std::size_t equals = line.find('=');
    if (inside && equals != std::string_view::npos) visit(line.substr(0, equals), line.substr(equals + 1));
  }
}

}  // namespace

std::optional<std::string> IniValue(std::string_view text, std::string_view section, std::string_view key) {
  std::optional<std::string> found;
  ForEachEntry(text, section, [&](std::string_view k, std::string_view v) {
    if (!found && k == key) found = std::string(v);
  });
  return found;
}

std::vector<std::string> IniKeys(std::string_view text, std::string_view section) {
  std::vector<std::string> keys;
  ForEachEntry(text, section, [&](std::string_view k, std::string_view) { keys.emplace_back(k); });
  return keys;
}

std::vector<std::string> IniSections(std::string_view text) {
  std::vector<std::string> sections;
  for (std::string_view line : Lines(text))
    if (IsSectionLine(line)) sections.emplace_back(line.substr(1, line.size() - 2));
  return sections;
}

}  // namespace e2e
