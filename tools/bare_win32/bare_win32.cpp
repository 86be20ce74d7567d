// The yardstick of the start-up benchmark: a bare Win32 program with the
// same kinds of things corvane.exe shows, and nothing else. A window with a
// tab control, a list view and a status bar, a tray icon, a message loop.
// The tray icon puts the same window property on the window as Corvane's,
// so the benchmark sees both the same way.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

namespace {

constexpr UINT kTrayMessage = WM_APP + 7;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    NOTIFYICONDATAA icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = window;
    icon.uID = 1;
    Shell_NotifyIconA(NIM_DELETE, &icon);
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = "BareWin32";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "BareWin32", "Bare Win32", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 560,
                                420, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  HWND tab = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE, 8, 8, 530, 330, window,
                             reinterpret_cast<HMENU>(1), instance, nullptr);
  TCITEMA page{};
  page.mask = TCIF_TEXT;
  page.pszText = const_cast<char*>("Page");
  SendMessageA(tab, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&page));
  HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 20, 40, 200, 280,
                              window, reinterpret_cast<HMENU>(2), instance, nullptr);
  LVCOLUMNA column{};
  column.mask = LVCF_WIDTH;
  column.cx = 180;
  SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
  CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window, reinterpret_cast<HMENU>(3),
                  instance, nullptr);

  NOTIFYICONDATAA icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = window;
  icon.uID = 1;
  icon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  icon.uCallbackMessage = kTrayMessage;
  icon.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  lstrcpyA(icon.szTip, "Bare Win32");
  Shell_NotifyIconA(NIM_ADD, &icon);
  SetPropA(window, "CallbackMessage", reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(kTrayMessage)));

  ShowWindow(window, show);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
