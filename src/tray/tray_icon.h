#pragma once
// The program's icon in the notification area: its image, its tip, the
// balloons that report what happened, and the hook that turns clicks on it
// into tray events for the main window. One instance for the whole program.
//
// SetTip, SetIcon and ShowBalloon are called from worker threads as well as
// from the window's thread; every change of the shared record and the shell
// call that sends it happen under one lock, so a call never sends a record
// half-written by another. The lock is taken again by the thread that holds
// it: while a shell call waits for the shell, Windows hands the window the
// messages sent to it, and the end of a session may remove the icon from
// inside a balloon.
#include <cstdint>
#include <mutex>
#include <span>
#include <string_view>

#include "platform/notification_area.h"

enum class BalloonIcon : std::uint32_t { None = 0, Info = 1, Error = 3 };

class TrayIcon {
 public:
  explicit TrayIcon(NotificationArea& shell);
  ~TrayIcon();  // removes the icon
  // The icon is tied to one window hook and one shell entry; a copy would
  // remove them twice.
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // Shows the icon for `window`: the image from `ico` (entry 0) or, without
  // one, the window's small icon. Returns the shell's result; 0 without a
  // call when the window is not valid.
  int AddIcon(std::uintptr_t window, std::span<const unsigned char> ico = {},
              std::string_view tip = {});
  // Unhooks the window and deletes the icon.
  int RemoveIcon();
  // Shows the icon again with its current image and tip; used after the
  // taskbar has been re-created. 0 when no icon was added.
  int Readd();

  // The texts are cut to 127 bytes (tip), 63 (balloon title) and 255
  // (balloon text). A balloon is sent once: later tip and icon changes
  // leave it out.
  int SetTip(std::string_view text);
  int ShowBalloon(std::string_view title, std::string_view text, BalloonIcon kind);
  // 0 without a shell call when `ico` makes no icon. The image it replaces
  // is released once the shell has the new one.
  int SetIcon(std::span<const unsigned char> ico);

  // A new icon from image `index` of an ICO file (0 when the file has no
  // such image, or it makes no icon); the caller owns it.
  std::uintptr_t IconFromIcoData(std::span<const unsigned char> ico, int index = 0,
                                 int* width = nullptr, int* height = nullptr);

  // Hooks the window given to AddIcon so that clicks on the icon, a
  // re-created taskbar and the window's end reach `handler`. Nothing
  // happens when that window is not valid.
  void AttachWindow(TrayEventHandler handler = {});

 private:
  // Puts `icon` in the record; returns the image it replaces when this
  // object made that one, else 0.
  std::uintptr_t TakeIcon(std::uintptr_t icon, bool made);
  void ReleaseIcon(std::uintptr_t icon);

  NotificationArea& shell_;
  const std::uint32_t taskbarCreatedMessage_;
  std::recursive_mutex mutex_;
  NotifyIconRecord record_{};
  std::uintptr_t previousProcedure_ = 0;
  std::uintptr_t window_ = 0;
  std::uintptr_t icon_ = 0;
  bool madeIcon_ = false;  // the window's own small icon is never released
  TrayEventHandler handler_;
};
