#pragma once
// The shell's notification area and the window hooks the tray icon needs.
// Windows and icons are opaque handles (0 = none).
#include <cstddef>
#include <cstdint>
#include <functional>

#include "platform/notify_icon_record.h"

// Receives the tray event codes: the shell's mouse notification, or the
// program's own codes for a re-created taskbar and a destroyed window.
using TrayEventHandler = std::function<void(int code)>;

namespace TrayEvent {
constexpr int LeftButtonUp = 0x202;  // the shell passes the mouse message on
constexpr int LeftDoubleClick = 0x203;
constexpr int RightButtonUp = 0x205;
constexpr int TaskbarCreated = 1120;  // Explorer restarted; its icons are gone
constexpr int WindowDestroyed = 1130;
}  // namespace TrayEvent

// What the tray window procedure finds on the subclassed window.
struct TrayHook {
  std::uint32_t callbackMessage = 0;
  std::uint32_t taskbarCreatedMessage = 0;
  const TrayEventHandler* handler = nullptr;  // optional; must outlive the hook
};

class NotificationArea {
 public:
  virtual ~NotificationArea() = default;

  // Shell_NotifyIconA; nonzero on success.
  virtual int Notify(NotifyMessage message, const NotifyIconRecord& record) = 0;
  // The number of the registered window message "TaskbarCreated".
  virtual std::uint32_t TaskbarCreatedMessage() = 0;

  virtual bool IsWindow(std::uintptr_t window) = 0;
  // The icon the window shows in its caption (WM_GETICON, ICON_SMALL); the
  // window keeps owning it.
  virtual std::uintptr_t WindowSmallIcon(std::uintptr_t window) = 0;

  // CreateIconFromResource on one image of an ICO file, as an icon in format
  // version 0x30000; 0 when the bytes make no icon. The caller owns the icon.
  virtual std::uintptr_t CreateIcon(const unsigned char* image, std::size_t size) = 0;
  virtual void DestroyIcon(std::uintptr_t icon) = 0;

  // Puts the tray window procedure in front of the window's own and leaves
  // the hook's values on the window as the properties "WinProc",
  // "CallbackMessage", "TaskbarCreatedMessage" and "Exec Event". The tray
  // procedure reports the callback message with its notification code, the
  // taskbar-created message as TaskbarCreated and WM_DESTROY as
  // WindowDestroyed (then passes it on). Returns the previous procedure, 0 on failure.
  virtual std::uintptr_t Subclass(std::uintptr_t window, const TrayHook& hook) = 0;
  // Gives the window its previous procedure back and removes the properties.
  virtual void Unsubclass(std::uintptr_t window, std::uintptr_t previousProcedure) = 0;
};
