#include "app/win32/share_qr_window.h"

#include <algorithm>
#include <utility>

#include "app/win32/dialog_keys.h"
#include "app/win32/dpi.h"
#include "app/win32/ui_font.h"
#include "links/share_qr_code.h"

namespace {

constexpr char kWindowClass[] = "CorvaneShareQrCode";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME;

// Design sizes at 96 DPI.
constexpr int kMargin = 12;
constexpr int kEditHeight = 24;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 28;
constexpr int kGap = 8;

bool RegisterWindowClass(HINSTANCE instance, WNDPROC proc) {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExA(instance, kWindowClass, &existing)) return true;
  WNDCLASSEXA window{};
  window.cbSize = sizeof window;
  window.lpfnWndProc = proc;
  window.hInstance = instance;
  window.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  window.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window.lpszClassName = kWindowClass;
  return RegisterClassExA(&window) != 0;
}

RECT WorkAreaOf(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoA(monitor, &info);
  return info.rcWork;
}

// The work area of the monitor under the cursor: where the tray menu was.
RECT WorkAreaAtCursor() {
  POINT cursor{};
  GetCursorPos(&cursor);
  return WorkAreaOf(MonitorFromPoint(cursor, MONITOR_DEFAULTTOPRIMARY));
}

}  // namespace

ShareQrWindow::ShareQrWindow(HINSTANCE instance, HWND owner, CopyLink copyLink)
    : instance_(instance), owner_(owner), copyLink_(std::move(copyLink)) {}

ShareQrWindow::~ShareQrWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
  if (font_) DeleteObject(font_);
}

void ShareQrWindow::Show(std::string_view link, const QrModules& code) {
  link_ = link;
  code_ = code;
  const bool made = hwnd_ == nullptr;
  if (made && !Create()) return;
  SetWindowTextA(edit_, link_.c_str());
  LayOut(DpiForWindow(hwnd_), nullptr);
  if (made) {
    // Centred on the screen where the tray menu was chosen.
    const RECT work = WorkAreaAtCursor();
    RECT size{};
    GetWindowRect(hwnd_, &size);
    const int width = size.right - size.left, height = size.bottom - size.top;
    SetWindowPos(hwnd_, nullptr, work.left + std::max(0L, (work.right - work.left - width) / 2),
                 work.top + std::max(0L, (work.bottom - work.top - height) / 2), 0, 0,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  if (made) SetFocus(copyButton_);
}

bool ShareQrWindow::Create() {
  if (!RegisterWindowClass(instance_, WindowProc)) return false;
  if (!CreateWindowExA(kWindowExStyle, kWindowClass, "分享二维码", kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                       100, 100, owner_, nullptr, instance_, this))
    return false;
  SetPropA(hwnd_, kDialogKeysProperty, reinterpret_cast<HANDLE>(1));
  const auto child = [&](const char* cls, const char* text, DWORD style, DWORD exStyle, int id) {
    return CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 0, 0, 0, 0, hwnd_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  };
  edit_ = child("EDIT", "", ES_READONLY | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kQrLinkEditId);
  copyButton_ = child("BUTTON", "复制链接", BS_PUSHBUTTON, 0, kQrCopyButtonId);
  closeButton_ = child("BUTTON", "关闭", BS_PUSHBUTTON, 0, IDCANCEL);
  return true;
}

void ShareQrWindow::LayOut(UINT dpi, const RECT* suggested) {
  const auto px = [dpi](int design) { return ScaleForDpi(design, dpi); };
  const int margin = px(kMargin);
  // The whole window stays on the screen it shows on: a long link's code
  // takes smaller modules rather than pushing the buttons off the screen.
  const RECT work = suggested ? WorkAreaOf(MonitorFromRect(suggested, MONITOR_DEFAULTTONEAREST))
                    : IsWindowVisible(hwnd_) ? WorkAreaOf(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST))
                                             : WorkAreaAtCursor();
  RECT frameOnly{0, 0, 0, 0};
  AdjustWindowRectEx(&frameOnly, kWindowStyle, FALSE, kWindowExStyle);
  const int roomHeight = (work.bottom - work.top) - (frameOnly.bottom - frameOnly.top) -
                         (3 * margin + px(kEditHeight) + px(kGap) + px(kButtonHeight));
  const int roomWidth = (work.right - work.left) - (frameOnly.right - frameOnly.left) - 2 * margin;
  modulePixels_ = QrModulePixels(static_cast<int>(dpi), code_.size, std::min(roomHeight, roomWidth));
  const int codeSide = code_.size * modulePixels_;
  const int clientWidth = std::max(codeSide, 3 * px(kButtonWidth) + px(kGap)) + 2 * margin;
  const int codeLeft = (clientWidth - codeSide) / 2;
  codeArea_ = {codeLeft, margin, codeLeft + codeSide, margin + codeSide};
  const int editTop = codeArea_.bottom + margin;
  const int buttonTop = editTop + px(kEditHeight) + px(kGap);
  const int clientHeight = buttonTop + px(kButtonHeight) + margin;

  HFONT old = font_;
  font_ = MakeUiFont(dpi);
  for (HWND control : {edit_, copyButton_, closeButton_}) SetFont(control, font_);
  if (old) DeleteObject(old);
  MoveWindow(edit_, margin, editTop, clientWidth - 2 * margin, px(kEditHeight), TRUE);
  const int closeLeft = clientWidth - margin - px(kButtonWidth);
  MoveWindow(closeButton_, closeLeft, buttonTop, px(kButtonWidth), px(kButtonHeight), TRUE);
  MoveWindow(copyButton_, closeLeft - px(kGap) - px(kButtonWidth), buttonTop, px(kButtonWidth), px(kButtonHeight),
             TRUE);

  RECT frame{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, kWindowStyle, FALSE, kWindowExStyle);
  RECT now{};
  GetWindowRect(hwnd_, &now);
  const POINT corner = suggested ? POINT{suggested->left, suggested->top} : POINT{now.left, now.top};
  SetWindowPos(hwnd_, nullptr, corner.x, corner.y, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// White behind the whole code, quiet zone included, then each row's runs of
// dark modules as whole-pixel rectangles.
void ShareQrWindow::Paint() {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(hwnd_, &paint);
  FillRect(dc, &codeArea_, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  const auto black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  for (int y = 0; y < code_.size; ++y) {
    for (int x = 0; x < code_.size;) {
      if (!code_.Dark(x, y)) {
        ++x;
        continue;
      }
      int end = x;
      while (end < code_.size && code_.Dark(end, y)) ++end;
      const RECT run{codeArea_.left + x * modulePixels_, codeArea_.top + y * modulePixels_,
                     codeArea_.left + end * modulePixels_, codeArea_.top + (y + 1) * modulePixels_};
      FillRect(dc, &run, black);
      x = end;
    }
  }
  EndPaint(hwnd_, &paint);
}

LRESULT CALLBACK ShareQrWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<ShareQrWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<ShareQrWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    RemovePropA(hwnd, kDialogKeysProperty);
    self->hwnd_ = self->edit_ = self->copyButton_ = self->closeButton_ = nullptr;
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT ShareQrWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kQrCopyButtonId && HIWORD(wParam) == BN_CLICKED) {
        // The link by value: while the copy's message box is up, the window
        // may be closed or show another node.
        const std::string link = link_;
        if (copyLink_) copyLink_(link);
      } else if (LOWORD(wParam) == IDCANCEL) {
        DestroyWindow(hwnd_);
      }
      return 0;
    case WM_CLOSE:
      DestroyWindow(hwnd_);
      return 0;
    case WM_DPICHANGED:
      LayOut(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      InvalidateRect(hwnd_, nullptr, TRUE);
      return 0;
    default:
      return DefWindowProcA(hwnd_, message, wParam, lParam);
  }
}
