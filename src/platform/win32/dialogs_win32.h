#pragma once
// The common open-file dialog, owned by the main window.
#include <cstdint>

#include "platform/dialogs.h"

class Win32Dialogs final : public Dialogs {
 public:
  // The window the dialogs belong to; 0 until the main window exists.
  void SetOwner(std::uintptr_t window) { owner_ = window; }
  std::optional<std::string> ChooseFile(const std::string& initialFolder,
                                        const std::string& fileName) override;

 private:
  std::uintptr_t owner_ = 0;
};
