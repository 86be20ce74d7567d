#include "app/launch_origin.h"

#include <cstdint>

#include "shared/gbk_text.h"

bool LaunchedFromShell(const std::vector<ProcessEntry>& processes, std::string_view ownExeName) {
  const std::string ownName = gbk::AsciiLower(ownExeName);
  std::uint32_t parent = 0;
  for (const auto& p : processes) {
    if (gbk::AsciiLower(p.exeName) == ownName) {
      parent = p.parentProcessId;
      break;
    }
  }
  if (parent == 0) return false;
  for (const auto& p : processes)
    if (p.processId == parent && gbk::AsciiLower(p.exeName) == "explorer.exe") return true;
  return false;
}
