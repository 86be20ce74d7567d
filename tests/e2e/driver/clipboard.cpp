#include "driver/clipboard.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

#include "driver/polling.h"

namespace e2e {

namespace {

// Another process may hold the clipboard open for a moment.
bool OpenClipboardSoon() {
  return WaitUntil([] { return OpenClipboard(nullptr) != 0; }, kActionTimeout);
}

}  // namespace

std::optional<std::string> ClipboardText() {
  if (!OpenClipboardSoon()) return std::nullopt;
  std::optional<std::string> text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
      text = std::string(bytes, strnlen(bytes, GlobalSize(data)));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

std::optional<std::wstring> ClipboardUnicodeText() {
  if (!OpenClipboardSoon()) return std::nullopt;
  std::optional<std::wstring> text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* units = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = std::wstring(units, wcsnlen(units, GlobalSize(data) / sizeof(wchar_t)));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

bool SetClipboardText(std::string_view text) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (!block) return false;
  char* bytes = static_cast<char*>(GlobalLock(block));
  std::memcpy(bytes, text.data(), text.size());
  bytes[text.size()] = '\0';
  GlobalUnlock(block);
  if (!OpenClipboardSoon()) {
    GlobalFree(block);
    return false;
  }
  EmptyClipboard();
  const bool placed = SetClipboardData(CF_TEXT, block) != nullptr;
  CloseClipboard();
  if (!placed) GlobalFree(block);
  return placed;
}

}  // namespace e2e
