#pragma once
// A notification area that records every call instead of showing anything.
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "tray/tray_icon.h"
#include "platform/notification_area.h"

class FakeNotificationArea : public NotificationArea {
 public:
  struct ShellCall {
    NotifyMessage message;
    NotifyIconRecord record;  // a copy, as the shell saw it
  };
  struct Hook {
    std::uintptr_t window;
    TrayHook hook;
  };

  int Notify(NotifyMessage message, const NotifyIconRecord& record) override;
  std::uint32_t TaskbarCreatedMessage() override { return taskbarCreatedMessage; }
  bool IsWindow(std::uintptr_t window) override { return windows.count(window) != 0; }
  std::uintptr_t WindowSmallIcon(std::uintptr_t) override { return windowSmallIcon; }
  std::uintptr_t CreateIcon(const unsigned char* image, std::size_t size) override;
  void DestroyIcon(std::uintptr_t icon) override { destroyedIcons.push_back(icon); }
  std::uintptr_t Subclass(std::uintptr_t window, const TrayHook& hook) override;
  void Unsubclass(std::uintptr_t window, std::uintptr_t previousProcedure) override;

  struct Balloon {
    std::string title, text;
    BalloonIcon kind;
  };
  // The balloon fields of every modify call, oldest first; each change of
  // the icon or tip sends the last balloon again.
  std::vector<Balloon> Balloons() const {
    std::vector<Balloon> shown;
    for (const auto& call : calls)
      if (call.message == NotifyMessage::Modify)
        shown.push_back({call.record.balloonTitle, call.record.balloonText,
                         static_cast<BalloonIcon>(call.record.balloonIcon)});
    return shown;
  }

  // Delivers a tray event the way the tray window procedure would.
  void Raise(int code) const;

  // Set up by the test.
  std::set<std::uintptr_t> windows;  // the valid ones
  std::uint32_t taskbarCreatedMessage = 0xC0DE;
  std::uintptr_t windowSmallIcon = 0x5000;
  bool iconsFail = false;
  int shellResult = 1;
  std::uintptr_t windowProcedure = 0x7000;
  // Run once inside the next shell call, after it is recorded: what the
  // window handles while Shell_NotifyIcon waits for the shell.
  std::function<void()> whileWaiting;

  // Recorded.
  std::vector<ShellCall> calls;
  std::vector<std::vector<unsigned char>> iconImages;  // bytes given to CreateIcon
  std::vector<std::uintptr_t> createdIcons;
  std::vector<std::uintptr_t> destroyedIcons;
  std::vector<Hook> hooks;
  std::vector<std::uintptr_t> unhooked;  // the procedures given back
};
