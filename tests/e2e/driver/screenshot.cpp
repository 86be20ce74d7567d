#include "driver/screenshot.h"

#include <string>

#include "driver/polling.h"
#include "driver/test_folder.h"

namespace e2e {

bool TakeScreenshot(std::string_view name, DWORD timeout) {
  const std::string base = WorkFolder() + "\\" + std::string(name);
  const std::string request = base + ".shot-request";
  const std::string done = base + ".shot-done";
  DeleteFileA(done.c_str());
  if (!WriteFileBytes(request, "")) return false;
  const bool taken =
      WaitUntil([&] { return GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, timeout, 100);
  DeleteFileA(request.c_str());
  DeleteFileA(done.c_str());
  return taken;
}

}  // namespace e2e
