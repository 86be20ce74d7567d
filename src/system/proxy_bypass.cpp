#include "system/proxy_bypass.h"

#include <vector>

#include "shared/gbk_text.h"
#include "system/blank_text.h"

namespace {

std::vector<std::string> LocalEntries() {
  std::vector<std::string> entries = {"<local>", "localhost", "127.*", "[::1]", "10.*"};
  for (int second = 16; second <= 31; ++second) entries.push_back("172." + std::to_string(second) + ".*");
  entries.push_back("192.168.*");
  return entries;
}

bool Lists(std::string_view list, const std::string& entry) {
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(';', start);
    if (end == std::string_view::npos) end = list.size();
    if (gbk::AsciiLower(std::string(TrimBlanks(list.substr(start, end - start)))) == gbk::AsciiLower(entry)) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

std::string WithLocalBypass(const std::optional<std::string>& userList) {
  std::string merged(TrimBlanks(userList.value_or("")));
  while (!merged.empty() && merged.back() == ';') merged.pop_back();
  for (const std::string& entry : LocalEntries()) {
    if (Lists(merged, entry)) continue;
    if (!merged.empty()) merged += ';';
    merged += entry;
  }
  return merged;
}
