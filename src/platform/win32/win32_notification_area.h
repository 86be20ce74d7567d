#pragma once
// The notification area through Shell_NotifyIconA, and the tray window
// procedure that subclasses the main window.
#include "platform/notification_area.h"

class Win32NotificationArea final : public NotificationArea {
 public:
  int Notify(NotifyMessage message, const NotifyIconRecord& record) override;
  std::uint32_t TaskbarCreatedMessage() override;
  bool IsWindow(std::uintptr_t window) override;
  std::uintptr_t WindowSmallIcon(std::uintptr_t window) override;
  std::uintptr_t CreateIcon(const unsigned char* image, std::size_t size) override;
  void DestroyIcon(std::uintptr_t icon) override;
  std::uintptr_t Subclass(std::uintptr_t window, const TrayHook& hook) override;
  void Unsubclass(std::uintptr_t window, std::uintptr_t previousProcedure) override;
};
