#include "platform/win32/clipboard_win32.h"

#include <windows.h>

#include <cstring>

namespace {

// Another program may hold the clipboard for a moment (clipboard managers
// read every change), so opening is tried a few times.
bool OpenClipboardPatiently(HWND owner) {
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (OpenClipboard(owner)) return true;
    Sleep(20);
  }
  return false;
}

}  // namespace

std::string Win32Clipboard::ReadText() {
  if (!IsClipboardFormatAvailable(CF_TEXT)) return {};
  if (!OpenClipboardPatiently(reinterpret_cast<HWND>(owner_))) return {};
  std::string text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const auto* bytes = static_cast<const char*>(GlobalLock(data))) {
      // The block may lack its NUL; never read past its size.
      const SIZE_T size = GlobalSize(data);
      text.assign(bytes, strnlen(bytes, size));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

bool Win32Clipboard::WriteText(std::string_view text) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (!block) return false;
  if (auto* bytes = static_cast<char*>(GlobalLock(block))) {
    std::memcpy(bytes, text.data(), text.size());
    bytes[text.size()] = '\0';
    GlobalUnlock(block);
  }
  if (!OpenClipboardPatiently(reinterpret_cast<HWND>(owner_))) {
    GlobalFree(block);
    return false;
  }
  const bool put = EmptyClipboard() && SetClipboardData(CF_TEXT, block) != nullptr;
  CloseClipboard();
  if (!put) GlobalFree(block);  // the clipboard owns the block only once it took it
  return put;
}
