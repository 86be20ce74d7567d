#include "platform/win32/dialogs_win32.h"

#include <windows.h>
#include <commdlg.h>

std::optional<std::string> Win32Dialogs::ChooseFile(const std::string& initialFolder,
                                                    const std::string& fileName) {
  // One filter entry, labelled with the file name and showing only it:
  // "brook.exe\0brook.exe\0\0".
  std::string filter = fileName + '\0' + fileName + '\0' + '\0';
  std::string chosen(32768, '\0');

  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = reinterpret_cast<HWND>(owner_);
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = chosen.data();
  dialog.nMaxFile = static_cast<DWORD>(chosen.size());
  dialog.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
  // The working folder stays where it was: relative paths elsewhere rely on it.
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
  if (!GetOpenFileNameA(&dialog)) return std::nullopt;
  chosen.resize(chosen.find('\0'));
  return chosen;
}
