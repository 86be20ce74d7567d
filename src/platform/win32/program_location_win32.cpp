#include "platform/win32/program_location_win32.h"

#include <windows.h>

#include "shared/gbk_text.h"

namespace {

std::string ModulePath() {
  for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
    std::string path(size, '\0');
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), size);
    if (length == 0) return {};
    if (length < size) {
      path.resize(length);
      return path;
    }
  }
  return {};
}

}  // namespace

// A GBK trail byte can look like "\", so the separator is looked for
// character by character.
std::string Win32ProgramLocation::ProgramDirectory() {
  const std::string path = ModulePath();
  const std::size_t separator = gbk::FindLast(path, '\\');
  return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

std::string Win32ProgramLocation::ExecutableName() {
  const std::string path = ModulePath();
  const std::size_t separator = gbk::FindLast(path, '\\');
  return separator == std::string::npos ? path : path.substr(separator + 1);
}
