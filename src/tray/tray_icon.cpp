#include "tray/tray_icon.h"

#include <cstring>
#include <utility>

#include "tray/ico_directory.h"
#include "shared/gbk_text.h"

namespace {

constexpr std::uint32_t kIconId = 1;
constexpr std::uint32_t kCallbackMessage = 11685;
// Once set, the flags carry the tip, the icon and the balloon; the balloon
// goes out only with ShowBalloon.
constexpr std::uint32_t kAllFlags =
    kNotifyFlagMessage | kNotifyFlagIcon | kNotifyFlagTip | kNotifyFlagBalloon;
constexpr std::uint32_t kAddedBalloonTimeout = 10000;
constexpr std::uint32_t kBalloonTimeout = 3000;

// Fills one of the record's zero-terminated text fields, cut to leave room
// for the zero. The cut steps over whole GBK characters rather than bytes:
// half a Chinese character at the end would show as a stray glyph.
template <std::size_t N>
void FillTextField(char (&field)[N], std::string_view text) {
  const std::string_view kept = gbk::CutToFit(text, N - 1);
  std::memset(field, 0, N);
  std::memcpy(field, kept.data(), kept.size());
}

// The record as sent for a change of tip or icon: the balloon was shown
// when it was new, and a shell that saw it again would show it again.
NotifyIconRecord WithoutBalloon(const NotifyIconRecord& record) {
  NotifyIconRecord quiet = record;
  quiet.flags &= ~kNotifyFlagBalloon;
  return quiet;
}

}  // namespace

TrayIcon::TrayIcon(NotificationArea& shell)
    : shell_(shell), taskbarCreatedMessage_(shell.TaskbarCreatedMessage()) {}

TrayIcon::~TrayIcon() {
  RemoveIcon();
  if (madeIcon_) ReleaseIcon(icon_);
}

int TrayIcon::AddIcon(std::uintptr_t window, std::span<const unsigned char> ico,
                      std::string_view tip) {
  if (!shell_.IsWindow(window)) return 0;
  const bool fromData = !ico.empty();
  const std::uintptr_t icon = fromData ? IconFromIcoData(ico) : shell_.WindowSmallIcon(window);

  std::lock_guard lock(mutex_);
  window_ = window;
  const std::uintptr_t replaced = TakeIcon(icon, fromData);
  record_.size = sizeof record_;
  record_.window = static_cast<std::uint32_t>(window);
  record_.iconId = kIconId;
  record_.flags = kAllFlags;
  record_.callbackMessage = kCallbackMessage;
  record_.balloonTimeout = kAddedBalloonTimeout;
  FillTextField(record_.tip, tip);
  const int result = shell_.Notify(NotifyMessage::Add, record_);
  ReleaseIcon(replaced);
  return result;
}

int TrayIcon::RemoveIcon() {
  std::lock_guard lock(mutex_);
  if (previousProcedure_ != 0) shell_.Unsubclass(window_, previousProcedure_);
  previousProcedure_ = 0;
  window_ = 0;
  std::memset(record_.balloonText, 0, sizeof record_.balloonText);
  std::memset(record_.balloonTitle, 0, sizeof record_.balloonTitle);
  // The record still names the window and the icon id the shell knows.
  return shell_.Notify(NotifyMessage::Delete, record_);
}

int TrayIcon::Readd() {
  std::lock_guard lock(mutex_);
  if (window_ == 0) return 0;
  // The last balloon is old news by now; the restored icon comes back quietly.
  return shell_.Notify(NotifyMessage::Add, WithoutBalloon(record_));
}

int TrayIcon::SetTip(std::string_view text) {
  std::lock_guard lock(mutex_);
  FillTextField(record_.tip, text);
  return shell_.Notify(NotifyMessage::Modify, WithoutBalloon(record_));
}

int TrayIcon::ShowBalloon(std::string_view title, std::string_view text, BalloonIcon kind) {
  std::lock_guard lock(mutex_);
  record_.balloonIcon = static_cast<std::uint32_t>(kind);
  FillTextField(record_.balloonTitle, title);
  FillTextField(record_.balloonText, text);
  record_.balloonTimeout = kBalloonTimeout;
  return shell_.Notify(NotifyMessage::Modify, record_);
}

int TrayIcon::SetIcon(std::span<const unsigned char> ico) {
  const std::uintptr_t icon = IconFromIcoData(ico);
  if (icon == 0) return 0;

  std::lock_guard lock(mutex_);
  const std::uintptr_t replaced = TakeIcon(icon, true);
  record_.flags = kAllFlags;
  const int result = shell_.Notify(NotifyMessage::Modify, WithoutBalloon(record_));
  ReleaseIcon(replaced);
  return result;
}

std::uintptr_t TrayIcon::IconFromIcoData(std::span<const unsigned char> ico, int index,
                                         int* width, int* height) {
  const auto image = FindIcoImage(ico, index);
  if (!image) return 0;
  if (width) *width = image->width;
  if (height) *height = image->height;
  return shell_.CreateIcon(image->bytes.data(), image->bytes.size());
}

void TrayIcon::AttachWindow(TrayEventHandler handler) {
  std::lock_guard lock(mutex_);
  if (!shell_.IsWindow(window_)) return;
  // Hooking twice would make the tray procedure call itself as the
  // window's own.
  if (previousProcedure_ != 0) shell_.Unsubclass(window_, previousProcedure_);
  handler_ = std::move(handler);
  const TrayHook hook{kCallbackMessage, taskbarCreatedMessage_, handler_ ? &handler_ : nullptr};
  previousProcedure_ = shell_.Subclass(window_, hook);
}

std::uintptr_t TrayIcon::TakeIcon(std::uintptr_t icon, bool made) {
  const std::uintptr_t replaced = madeIcon_ && icon_ != icon ? icon_ : 0;
  icon_ = icon;
  madeIcon_ = made;
  record_.icon = static_cast<std::uint32_t>(icon);
  return replaced;
}

void TrayIcon::ReleaseIcon(std::uintptr_t icon) {
  if (icon != 0) shell_.DestroyIcon(icon);
}
