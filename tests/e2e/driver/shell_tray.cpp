#include "driver/shell_tray.h"

#include <shellapi.h>

#include <cstddef>
#include <cstring>

#include "driver/polling.h"
#include "shared/gbk_wide.h"

namespace e2e {

namespace {

constexpr wchar_t kTrayClass[] = L"Shell_TrayWnd";

// Wine 8's platform-independent NOTIFYICONDATA: the texts are UTF-16 and
// fixed-size; the icon's bits follow the record.
struct WineNotifyData {
  LONG window;
  UINT id;
  UINT flags;
  UINT callbackMessage;
  WCHAR tip[128];
  DWORD state;
  DWORD stateMask;
  WCHAR info[256];
  UINT timeoutOrVersion;
  WCHAR infoTitle[64];
  DWORD infoFlags;
  GUID guid;
  UINT iconWidth, iconHeight, iconPlanes, iconBitsPerPixel;
};
static_assert(sizeof(WineNotifyData) == 960);

// A fixed-size UTF-16 field, up to its first zero, as the program's GBK text.
template <std::size_t N>
std::string Gbk(const WCHAR (&field)[N]) {
  std::size_t length = 0;
  while (length < N && field[length]) ++length;
  return gbk::FromWide(std::wstring_view(field, length));
}

}  // namespace

ShellTray::ShellTray() : created_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
  thread_ = std::thread([this] { Run(); });
  WaitForSingleObject(created_, kActionTimeout);
}

ShellTray::~ShellTray() {
  if (threadId_) PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
  if (thread_.joinable()) thread_.join();
  CloseHandle(created_);
}

bool ShellTray::Ready() const { return window_ && FindWindowExW(nullptr, nullptr, kTrayClass, nullptr) == window_; }

std::vector<BalloonSeen> ShellTray::Balloons() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return balloons_;
}

std::optional<BalloonSeen> ShellTray::WaitForBalloon(const std::string& title, DWORD timeout) const {
  std::optional<BalloonSeen> found;
  WaitUntil(
      [&] {
        for (const BalloonSeen& balloon : Balloons())
          if (balloon.title == title) return (found = balloon).has_value();
        return false;
      },
      timeout);
  return found;
}

void ShellTray::Run() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kTrayClass;
  RegisterClassW(&windowClass);
  // Topmost, so that a search in Z order meets it before Wine's tray window.
  window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kTrayClass, nullptr, WS_POPUP, 0, 0, 0, 0, nullptr,
                            nullptr, windowClass.hInstance, nullptr);
  if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  threadId_ = GetCurrentThreadId();
  SetEvent(created_);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  if (window_) DestroyWindow(window_);
  UnregisterClassW(kTrayClass, windowClass.hInstance);
}

LRESULT CALLBACK ShellTray::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA) {
    auto* self = reinterpret_cast<ShellTray*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (self && copy) self->Receive(static_cast<DWORD>(copy->dwData), static_cast<const BYTE*>(copy->lpData), copy->cbData);
    return TRUE;  // the shell took the icon message
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void ShellTray::Receive(DWORD message, const BYTE* data, DWORD size) {
  if (!data || size < sizeof(WineNotifyData) || (message != NIM_ADD && message != NIM_MODIFY)) return;
  WineNotifyData record;
  std::memcpy(&record, data, sizeof record);
  std::lock_guard<std::mutex> lock(mutex_);
  if (record.flags & NIF_TIP) tip_ = Gbk(record.tip);
  if ((record.flags & NIF_INFO) && record.info[0])
    balloons_.push_back({Gbk(record.infoTitle), Gbk(record.info), record.infoFlags & NIIF_ICON_MASK});
}

}  // namespace e2e

namespace e2e {

std::string ShellTray::Tip() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return tip_;
}

}  // namespace e2e
