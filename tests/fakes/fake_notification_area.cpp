#include "fakes/fake_notification_area.h"

#include <utility>

int FakeNotificationArea::Notify(NotifyMessage message, const NotifyIconRecord& record) {
  calls.push_back({message, record});
  if (auto handle = std::exchange(whileWaiting, nullptr)) handle();
  return shellResult;
}

std::uintptr_t FakeNotificationArea::CreateIcon(const unsigned char* image, std::size_t size) {
  iconImages.emplace_back(image, image + size);
  if (iconsFail) return 0;
  createdIcons.push_back(0x100 + createdIcons.size());
  return createdIcons.back();
}

std::uintptr_t FakeNotificationArea::Subclass(std::uintptr_t window, const TrayHook& hook) {
  hooks.push_back({window, hook});
  return windowProcedure;
}

void FakeNotificationArea::Unsubclass(std::uintptr_t, std::uintptr_t previousProcedure) {
  unhooked.push_back(previousProcedure);
}

void FakeNotificationArea::Raise(int code) const {
  if (!hooks.empty() && hooks.back().hook.handler) (*hooks.back().hook.handler)(code);
}
