#include "driver/windows.h"

#include "driver/polling.h"

namespace e2e {

namespace {

struct WindowsOfProcess {
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectIfOwned(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<WindowsOfProcess*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId) search->found.push_back(window);
  return TRUE;
}

struct ChildSearch {
  int id;
  HWND found;
};

BOOL CALLBACK StopAtId(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<ChildSearch*>(context);
  if (GetDlgCtrlID(window) != search->id) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
  WindowsOfProcess search{processId, {}};
  EnumWindows(CollectIfOwned, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindowTitled(DWORD processId, std::string_view title, DWORD timeout) {
  HWND match = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : TopLevelWindowsOf(processId))
          if (TextOf(window) == title) match = window;
        return match != nullptr;
      },
      timeout);
  return match;
}

HWND FindDescendant(HWND root, int controlId) {
  // EnumChildWindows walks all descendants, not only the direct children.
  ChildSearch search{controlId, nullptr};
  EnumChildWindows(root, StopAtId, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kActionTimeout, &length))
    return {};
  std::string text(length + 1, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, kActionTimeout, &copied))
    return {};
  text.resize(copied);
  return text;
}

std::string ClassOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

bool Ping(HWND window, DWORD timeout) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeout, &ignored) != 0;
}

}  // namespace e2e
