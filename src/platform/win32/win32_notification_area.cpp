#include "platform/win32/win32_notification_area.h"

#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <cstring>

#ifndef _WIN64
// The record is handed over byte for byte, so it must be the shell's own
// 488-byte layout of this 32-bit program.
static_assert(sizeof(NotifyIconRecord) == NOTIFYICONDATAA_V2_SIZE);
static_assert(offsetof(NotifyIconRecord, window) == offsetof(NOTIFYICONDATAA, hWnd));
static_assert(offsetof(NotifyIconRecord, iconId) == offsetof(NOTIFYICONDATAA, uID));
static_assert(offsetof(NotifyIconRecord, flags) == offsetof(NOTIFYICONDATAA, uFlags));
static_assert(offsetof(NotifyIconRecord, callbackMessage) ==
              offsetof(NOTIFYICONDATAA, uCallbackMessage));
static_assert(offsetof(NotifyIconRecord, icon) == offsetof(NOTIFYICONDATAA, hIcon));
static_assert(offsetof(NotifyIconRecord, tip) == offsetof(NOTIFYICONDATAA, szTip));
static_assert(offsetof(NotifyIconRecord, state) == offsetof(NOTIFYICONDATAA, dwState));
static_assert(offsetof(NotifyIconRecord, stateMask) == offsetof(NOTIFYICONDATAA, dwStateMask));
static_assert(offsetof(NotifyIconRecord, balloonText) == offsetof(NOTIFYICONDATAA, szInfo));
static_assert(offsetof(NotifyIconRecord, balloonTimeout) == offsetof(NOTIFYICONDATAA, uTimeout));
static_assert(offsetof(NotifyIconRecord, balloonTitle) == offsetof(NOTIFYICONDATAA, szInfoTitle));
static_assert(offsetof(NotifyIconRecord, balloonIcon) == offsetof(NOTIFYICONDATAA, dwInfoFlags));
#endif
static_assert(NIF_MESSAGE == kNotifyFlagMessage && NIF_ICON == kNotifyFlagIcon &&
              NIF_TIP == kNotifyFlagTip && NIF_INFO == kNotifyFlagBalloon);
static_assert(NIM_ADD == 0 && NIM_MODIFY == 1 && NIM_DELETE == 2);

namespace {

constexpr char kWinProc[] = "WinProc";
constexpr char kCallbackMessage[] = "CallbackMessage";
constexpr char kTaskbarCreatedMessage[] = "TaskbarCreatedMessage";
constexpr char kExecEvent[] = "Exec Event";

HWND AsWindow(std::uintptr_t window) { return reinterpret_cast<HWND>(window); }

// Window and icon handles carry 32 significant bits on 64-bit Windows as
// well; the record holds them as such and they are sign-extended back.
template <typename Handle>
Handle FromRecord(std::uint32_t value) {
  return reinterpret_cast<Handle>(static_cast<LONG_PTR>(static_cast<std::int32_t>(value)));
}

#ifdef _WIN64
LONG_PTR SwapWindowProcedure(HWND window, LONG_PTR procedure) {
  return SetWindowLongPtrA(window, GWLP_WNDPROC, procedure);
}
#else
LONG_PTR SwapWindowProcedure(HWND window, LONG_PTR procedure) {
  return SetWindowLongA(window, GWL_WNDPROC, procedure);
}
#endif

// Everything the procedure needs lives in the window's properties, so it
// keeps no state of its own. The system's messages other than WM_DESTROY
// are only passed on: under Wine every property read is a round trip to the
// server, and the window gets many of them.
LRESULT CALLBACK TrayWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto previous = reinterpret_cast<WNDPROC>(GetPropA(window, kWinProc));
  if (message >= WM_USER || message == WM_DESTROY) {
    const auto callback = reinterpret_cast<UINT_PTR>(GetPropA(window, kCallbackMessage));
    const auto taskbarCreated = reinterpret_cast<UINT_PTR>(GetPropA(window, kTaskbarCreatedMessage));
    const auto* handler = reinterpret_cast<const TrayEventHandler*>(GetPropA(window, kExecEvent));
    if (handler && message == callback) {
      (*handler)(static_cast<int>(lParam));
      return 0;
    }
    if (handler && taskbarCreated != 0 && message == taskbarCreated) {
      (*handler)(TrayEvent::TaskbarCreated);
      return 0;
    }
    if (handler && message == WM_DESTROY) (*handler)(TrayEvent::WindowDestroyed);
  }

  if (!previous) return DefWindowProcA(window, message, wParam, lParam);
  return CallWindowProcA(previous, window, message, wParam, lParam);
}

}  // namespace

int Win32NotificationArea::Notify(NotifyMessage message, const NotifyIconRecord& record) {
  // The system structure may be longer than the record (item GUID, balloon
  // icon); its size field says which layout the shell is reading.
  NOTIFYICONDATAA data{};
#ifdef _WIN64
  // The 64-bit structure has wider handles: the same fields, moved one by one.
  data.cbSize = NOTIFYICONDATAA_V2_SIZE;
  data.hWnd = FromRecord<HWND>(record.window);
  data.uID = record.iconId;
  data.uFlags = record.flags;
  data.uCallbackMessage = record.callbackMessage;
  data.hIcon = FromRecord<HICON>(record.icon);
  std::memcpy(data.szTip, record.tip, sizeof record.tip);
  data.dwState = record.state;
  data.dwStateMask = record.stateMask;
  std::memcpy(data.szInfo, record.balloonText, sizeof record.balloonText);
  data.uTimeout = record.balloonTimeout;
  std::memcpy(data.szInfoTitle, record.balloonTitle, sizeof record.balloonTitle);
  data.dwInfoFlags = record.balloonIcon;
#else
  std::memcpy(&data, &record, sizeof record);
#endif
  return Shell_NotifyIconA(static_cast<DWORD>(message), &data);
}

std::uint32_t Win32NotificationArea::TaskbarCreatedMessage() {
  return RegisterWindowMessageA("TaskbarCreated");
}

bool Win32NotificationArea::IsWindow(std::uintptr_t window) {
  return ::IsWindow(AsWindow(window)) == TRUE;
}

std::uintptr_t Win32NotificationArea::WindowSmallIcon(std::uintptr_t window) {
  return static_cast<std::uintptr_t>(SendMessageA(AsWindow(window), WM_GETICON, ICON_SMALL, 0));
}

std::uintptr_t Win32NotificationArea::CreateIcon(const unsigned char* image, std::size_t size) {
  HICON icon = CreateIconFromResource(const_cast<PBYTE>(image), static_cast<DWORD>(size), TRUE,
                                      0x30000);
  return reinterpret_cast<std::uintptr_t>(icon);
}

void Win32NotificationArea::DestroyIcon(std::uintptr_t icon) {
  ::DestroyIcon(reinterpret_cast<HICON>(icon));
}

std::uintptr_t Win32NotificationArea::Subclass(std::uintptr_t window, const TrayHook& hook) {
  HWND hwnd = AsWindow(window);
  const LONG_PTR previous =
      SwapWindowProcedure(hwnd, reinterpret_cast<LONG_PTR>(&TrayWindowProcedure));
  if (previous == 0) return 0;
  SetPropA(hwnd, kWinProc, reinterpret_cast<HANDLE>(previous));
  SetPropA(hwnd, kCallbackMessage, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(hook.callbackMessage)));
  SetPropA(hwnd, kTaskbarCreatedMessage,
           reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(hook.taskbarCreatedMessage)));
  if (hook.handler)
    SetPropA(hwnd, kExecEvent, const_cast<TrayEventHandler*>(hook.handler));
  return static_cast<std::uintptr_t>(previous);
}

void Win32NotificationArea::Unsubclass(std::uintptr_t window, std::uintptr_t previousProcedure) {
  HWND hwnd = AsWindow(window);
  if (!::IsWindow(hwnd)) return;
  SwapWindowProcedure(hwnd, static_cast<LONG_PTR>(previousProcedure));
  RemovePropA(hwnd, kWinProc);
  RemovePropA(hwnd, kCallbackMessage);
  RemovePropA(hwnd, kTaskbarCreatedMessage);
  RemovePropA(hwnd, kExecEvent);
}
