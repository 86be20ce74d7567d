// The main window's life and messages: creation, the window procedures of
// the window and its pages, and the translation of notifications into the
// program's control events.
#include "app/win32/main_window.h"

#include <commctrl.h>
#include <shellapi.h>
#include <uxtheme.h>

#include <utility>

#include "app/startup.h"
#include "context/tray_menu_layout.h"
#include "app/win32/dialog_keys.h"
#include "app/win32/dpi.h"

namespace {

constexpr char kWindowClass[] = "CorvaneMainWindow";
constexpr char kPageClass[] = "CorvanePage";
constexpr int kMainIconId = 1;  // the icon resource in corvane.rc
constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

bool RegisterWindowClasses(HINSTANCE instance, WNDPROC windowProc, WNDPROC pageProc) {
  WNDCLASSEXA window{};
  window.cbSize = sizeof window;
  window.lpfnWndProc = windowProc;
  window.hInstance = instance;
  window.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kMainIconId));
  if (!window.hIcon) window.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  window.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  window.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window.lpszClassName = kWindowClass;
  if (!RegisterClassExA(&window)) return false;

  // A page paints what the tab control shows behind it; see PageProc.
  WNDCLASSEXA page{};
  page.cbSize = sizeof page;
  page.lpfnWndProc = pageProc;
  page.hInstance = instance;
  page.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  page.lpszClassName = kPageClass;
  return RegisterClassExA(&page) != 0;
}

// The caption and taskbar icons, also what the tray icon falls back on
// (WM_GETICON answers only icons set by WM_SETICON).
void SetWindowIcons(HWND window, HINSTANCE instance) {
  for (WPARAM kind : {ICON_SMALL, ICON_BIG}) {
    const int size = GetSystemMetrics(kind == ICON_SMALL ? SM_CXSMICON : SM_CXICON);
    HANDLE icon =
        LoadImageA(instance, MAKEINTRESOURCEA(kMainIconId), IMAGE_ICON, size, size, LR_SHARED);
    if (!icon) icon = LoadIconA(nullptr, IDI_APPLICATION);
    SendMessageA(window, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon));
  }
}

// Labels, check boxes and group boxes are see-through: they show the tab
// control's page background, which a visual style may draw as a gradient.
bool IsSeeThrough(HWND control) {
  const ControlSpec* design = FindControl(static_cast<Ctl>(GetDlgCtrlID(control)));
  return design && (design->kind == ControlKind::Label || design->kind == ControlKind::CheckBox ||
                  design->kind == ControlKind::GroupBox);
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance) : instance_(instance), threadId_(GetCurrentThreadId()) {
  for (const MenuItemSpec& item : TrayMenuItems())
    menu_.push_back({std::string(item.caption), item.checked, item.enabled, item.visible});
}

MainWindow::~MainWindow() {
  // The behaviour may be gone already; a window still alive here belongs to
  // a copy that ends before it ever ran, so its end reports nothing.
  app_ = nullptr;
  if (hwnd_) ::DestroyWindow(hwnd_);
  if (uiFont_) DeleteObject(uiFont_);
  if (comboFont_) DeleteObject(comboFont_);
}

bool MainWindow::Create() {
  INITCOMMONCONTROLSEX classes{};
  classes.dwSize = sizeof classes;
  classes.dwICC = ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&classes);
  if (!RegisterWindowClasses(instance_, WindowProc, PageProc)) return false;

  const Rect96& outer = MainWindowDesign().outer;
  // Made at the design size, invisible; once the window knows its monitor
  // it takes that monitor's DPI, and its controls are made for it.
  if (!CreateWindowExA(WS_EX_CONTROLPARENT, kWindowClass, "Corvane", kWindowStyle, outer.left,
                       outer.top, outer.width, outer.height, nullptr, nullptr, instance_, this))
    return false;
  const UINT dpi = DpiForWindow(hwnd_);
  SetWindowPos(hwnd_, nullptr, ScaleForDpi(outer.left, dpi), ScaleForDpi(outer.top, dpi),
               ScaleForDpi(outer.width, dpi), ScaleForDpi(outer.height, dpi),
               SWP_NOZORDER | SWP_NOACTIVATE);
  MakeFonts(dpi);
  CreateControls();
  WatchList();
  SetWindowIcons(hwnd_, instance_);
  // Files dropped anywhere on the window, its controls included.
  DragAcceptFiles(hwnd_, TRUE);
  PostMessageA(hwnd_, kAttachTooltips, 0, 0);
  return true;
}

int MainWindow::RunMessageLoop() {
  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    // Tab and the arrow keys move between the controls as in a dialog, in
    // the main window and in the windows it owns that ask for it.
    if (hwnd_ && IsDialogMessageA(hwnd_, &message)) continue;
    if (HWND owned = DialogKeysWindow(message.hwnd); owned && IsDialogMessageA(owned, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = self->tab_ = self->status_ = nullptr;
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
}

// The pages pass their controls' notifications on to the main window and
// paint the tab control's background behind the see-through controls.
LRESULT CALLBACK MainWindow::PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(
                          reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
      if (self) return self->HandleMessage(message, wParam, lParam);
      break;
    case WM_ERASEBKGND:
      DrawThemeParentBackground(hwnd, reinterpret_cast<HDC>(wParam), nullptr);
      return 1;
    case WM_CTLCOLORSTATIC: {
      auto control = reinterpret_cast<HWND>(lParam);
      if (!IsSeeThrough(control)) break;  // read-only and disabled edit boxes
      auto dc = reinterpret_cast<HDC>(wParam);
      DrawThemeParentBackground(control, dc, nullptr);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    default:
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kRunOnWindowThread:
      (*reinterpret_cast<std::function<void()>*>(lParam))();
      return 0;
    case kRunPosted:
      RunPosted(wParam, lParam);
      return 0;
    case WM_TIMER:
      if (RunPostedLater(wParam)) return 0;
      return DefWindowProcA(hwnd_, message, wParam, lParam);
    case kSettleListSelection:
      SettleListSelection();
      return 0;
    case kAttachTooltips:
      AttachTooltips();
      return 0;
    case WM_COMMAND:
      if (lParam)
        OnCommand(LOWORD(wParam), HIWORD(wParam));
      else if (HIWORD(wParam) == 0)
        OnMenuItemChosen(LOWORD(wParam));
      return 0;
    case WM_NOTIFY:
      OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
      return 0;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_CLOSE:
      // Closing only hides: the program lives on in the notification area.
      ShowWindow(hwnd_, SW_HIDE);
      return 0;
    case kCloseAsked:
      // Everything was settled before the answer; the window goes from the
      // message loop, as at "退出".
      ::DestroyWindow(hwnd_);
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) OnSessionEnding((lParam & ENDSESSION_CLOSEAPP) != 0);
      return 0;
    case WM_DESTROY:
      // Whatever the window does while it goes is no longer the user's doing.
      if (AppContext* app = std::exchange(app_, nullptr)) OnWindowDestroyed(*app);
      PostQuitMessage(0);
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_SIZE:
      if (status_) SendMessageA(status_, WM_SIZE, 0, 0);
      return 0;
    default:
      return DefWindowProcA(hwnd_, message, wParam, lParam);
  }
}

void MainWindow::OnCommand(int id, int code) {
  const ControlSpec* design = FindControl(static_cast<Ctl>(id));
  if (!design) return;
  switch (design->kind) {
    case ControlKind::Button:
    case ControlKind::CheckBox:
      if (code == BN_CLICKED) Raise(design->id, ControlEvent::Clicked);
      break;
    case ControlKind::Edit:
      // EN_CHANGE also follows WM_SETTEXT, so SetText raises it like typing.
      if (code == EN_CHANGE) Raise(design->id, ControlEvent::ContentChanged);
      if (code == EN_KILLFOCUS) Raise(design->id, ControlEvent::LostFocus);
      break;
    case ControlKind::ComboBox:
      if (code == CBN_KILLFOCUS) Raise(design->id, ControlEvent::LostFocus);
      if (code == CBN_SELENDOK) Raise(design->id, ControlEvent::ItemChosen);
      break;
    default:
      break;
  }
}

void MainWindow::OnNotify(const NMHDR& header) {
  if (header.hwndFrom == tab_) {
    if (header.code == TCN_SELCHANGE)
      ShowPage(static_cast<int>(SendMessageA(tab_, TCM_GETCURSEL, 0, 0)));
    return;
  }
  if (header.hwndFrom == Control(Ctl::超级列表框_服务器列表)) OnListNotify(header);
}

// A tray-menu item was chosen. IsDialogMessage sends IDOK and IDCANCEL the
// same way; they name no menu item.
void MainWindow::OnMenuItemChosen(int commandId) {
  if (const MenuItemSpec* item = FindMenuItemByCommand(commandId); item && app_)
    OnMenuCommand(*app_, item->caption);
  else if (const PopupEntry* entry = FindListMenuItemByCommand(commandId); entry && app_)
    OnMenuCommand(*app_, entry->caption);
}

void MainWindow::OnDropFiles(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileA(drop, i, nullptr, 0);
    std::string path(length, '\0');
    DragQueryFileA(drop, i, path.data(), length + 1);
    paths.push_back(std::move(path));
  }
  DragFinish(drop);
  if (app_ && !paths.empty()) ::OnFilesDropped(*app_, paths);
}

// The window moved to a monitor with another DPI: Windows suggests the new
// outer rectangle, and the controls and fonts follow.
void MainWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  ApplyDpi(dpi);
}

// Windows ends the session after this returns, without destroying the
// window, so the window's destroyed event may never come: what the program
// owes the system (the engine, DNS, the proxy settings) is settled here, and
// every command keeps working should the session go on after all. Asked to
// close (ENDSESSION_CLOSEAPP, as installers ask), the caller may end the
// process as soon as it has its answer: the program settles everything
// before answering and then ends from its message loop, its window going
// with nothing left to do.
// Nobody is there to close a box at the end of a session, and one would
// hold the cleanup, so none is shown meanwhile.
void MainWindow::OnSessionEnding(bool closeRequested) {
  if (!app_) return;
  const bool showedBoxes = std::exchange(showBoxes_, false);
  if (closeRequested) {
    ::OnCloseAsked(*std::exchange(app_, nullptr));
    PostMessageA(hwnd_, kCloseAsked, 0, 0);
  } else {
    ::OnSessionEnding(*app_);
  }
  showBoxes_ = showedBoxes;
}

void MainWindow::Raise(Ctl control, ControlEvent event) {
  if (app_) OnControlEvent(*app_, control, event);
}

HWND MainWindow::Control(Ctl c) const {
  if (c == Ctl::选择夹1) return tab_;
  if (c == Ctl::状态条1) return status_;
  const auto specs = MainWindowControls();
  for (std::size_t i = 0; i < specs.size() && i < controls_.size(); ++i)
    if (specs[i].id == c) return controls_[i];
  return nullptr;
}
