#pragma once
// The notification-area record in the shell's 488-byte layout: the one with
// balloon fields and without the item GUID. Window and icon are kept as
// 32-bit values, so the layout is the same in the 32-bit program and in the
// native test build; the Win32 layer checks it against the system's own
// definition before handing it over.
#include <cstddef>
#include <cstdint>

struct NotifyIconRecord {
  std::uint32_t size;
  std::uint32_t window;
  std::uint32_t iconId;
  std::uint32_t flags;
  std::uint32_t callbackMessage;
  std::uint32_t icon;
  char tip[128];
  std::uint32_t state;
  std::uint32_t stateMask;
  char balloonText[256];
  std::uint32_t balloonTimeout;  // shares its place with the version field
  char balloonTitle[64];
  std::uint32_t balloonIcon;
};

static_assert(sizeof(NotifyIconRecord) == 488);
static_assert(offsetof(NotifyIconRecord, size) == 0);
static_assert(offsetof(NotifyIconRecord, window) == 4);
static_assert(offsetof(NotifyIconRecord, iconId) == 8);
static_assert(offsetof(NotifyIconRecord, flags) == 12);
static_assert(offsetof(NotifyIconRecord, callbackMessage) == 16);
static_assert(offsetof(NotifyIconRecord, icon) == 20);
static_assert(offsetof(NotifyIconRecord, tip) == 24);
static_assert(offsetof(NotifyIconRecord, state) == 152);
static_assert(offsetof(NotifyIconRecord, stateMask) == 156);
static_assert(offsetof(NotifyIconRecord, balloonText) == 160);
static_assert(offsetof(NotifyIconRecord, balloonTimeout) == 416);
static_assert(offsetof(NotifyIconRecord, balloonTitle) == 420);
static_assert(offsetof(NotifyIconRecord, balloonIcon) == 484);

// Shell_NotifyIconA messages.
enum class NotifyMessage : std::uint32_t { Add = 0, Modify = 1, Delete = 2 };

// Record flags: callback message, icon, tip and balloon are always sent.
constexpr std::uint32_t kNotifyFlagMessage = 0x1;
constexpr std::uint32_t kNotifyFlagIcon = 0x2;
constexpr std::uint32_t kNotifyFlagTip = 0x4;
constexpr std::uint32_t kNotifyFlagBalloon = 0x10;
