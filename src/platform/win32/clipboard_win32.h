#pragma once
// The system clipboard: CF_TEXT read, CF_TEXT and CF_UNICODETEXT written.
#include <cstdint>

#include "platform/clipboard.h"

class Win32Clipboard final : public Clipboard {
 public:
  // The window that owns what the program puts on the clipboard; without
  // one Windows refuses the write.
  void SetOwner(std::uintptr_t window) { owner_ = window; }
  std::string ReadText() override;
  bool WriteText(std::string_view text) override;

 private:
  std::uintptr_t owner_ = 0;
};
