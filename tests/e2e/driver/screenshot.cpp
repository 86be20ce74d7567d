#include "driver/screenshot.h"

#include <string>

#include "driver/polling.h"
#include "driver/test_folder.h"

namespace e2e {
namespace {

// Leaves the request "<name>.<kind>-request" with `content` and waits for
// the answer "<name>.<kind>-done".
bool AskWrapper(std::string_view name, const std::string& kind, std::string_view content, DWORD timeout) {
  const std::string base = WorkFolder() + "\\" + std::string(name);
  const std::string request = base + "." + kind + "-request";
  const std::string done = base + "." + kind + "-done";
  DeleteFileA(done.c_str());
  if (!WriteFileBytes(request, content)) return false;
  const bool answered =
      WaitUntil([&] { return GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, timeout, 100);
  DeleteFileA(request.c_str());
  DeleteFileA(done.c_str());
  return answered;
}

}  // namespace

bool TakeScreenshot(std::string_view name, DWORD timeout) { return AskWrapper(name, "shot", "", timeout); }

std::optional<std::string> ScanQrCode(std::string_view name, HWND window, DWORD timeout) {
  RECT area{};
  if (!GetClientRect(window, &area)) return std::nullopt;
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
  const std::string geometry = std::to_string(area.right - area.left) + "x" + std::to_string(area.bottom - area.top) +
                               "+" + std::to_string(area.left) + "+" + std::to_string(area.top);
  const std::string text = WorkFolder() + "\\" + std::string(name) + ".qr-text";
  DeleteFileA(text.c_str());
  if (!AskWrapper(name, "qr", geometry, timeout)) return std::nullopt;
  return ReadFileBytes(text).value_or("");
}

}  // namespace e2e
