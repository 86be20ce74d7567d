#include "platform/win32/clipboard_win32.h"

#include <windows.h>

#include <cstring>

#include "shared/gbk_wide.h"

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

// A movable block with `size` bytes and a NUL of `nulSize` bytes behind them.
HGLOBAL GlobalBlock(const void* data, std::size_t size, std::size_t nulSize) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size + nulSize);
  if (!block) return nullptr;
  void* bytes = GlobalLock(block);
  if (!bytes) {
    GlobalFree(block);
    return nullptr;
  }
  std::memcpy(bytes, data, size);
  GlobalUnlock(block);
  return block;
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
  // Without an explicit Unicode form Windows would make one from the ANSI
  // text with the code page of the current keyboard layout's language.
  const std::wstring wide = gbk::ToWide(text);
  HGLOBAL ansi = GlobalBlock(text.data(), text.size(), 1);
  HGLOBAL unicode = GlobalBlock(wide.data(), wide.size() * sizeof(wchar_t), sizeof(wchar_t));
  bool put = false;
  if (ansi && unicode && OpenClipboardPatiently(reinterpret_cast<HWND>(owner_))) {
    if (EmptyClipboard()) {
      // The clipboard owns a block once it took it.
      if (SetClipboardData(CF_UNICODETEXT, unicode)) unicode = nullptr;
      if (SetClipboardData(CF_TEXT, ansi)) ansi = nullptr;
      put = !unicode && !ansi;
    }
    CloseClipboard();
  }
  if (ansi) GlobalFree(ansi);
  if (unicode) GlobalFree(unicode);
  return put;
}
