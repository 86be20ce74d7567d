#include "platform/win32/phone_book_win32.h"

#include <cstring>

#include <windows.h>

#include "platform/win32/system_library_win32.h"

namespace {

// The entry record in its first, 264-byte layout. The SDK's RASENTRYNAMEA
// grows a flags field and a phone-book path on newer targets; every
// Windows still accepts this size, so one layout serves all builds.
struct RasEntryName264 {
  DWORD size;
  char name[257];  // RAS_MaxEntryName + 1
};
static_assert(sizeof(RasEntryName264) == 264);

constexpr int kMaxEntries = 38;

using RasEnumEntriesFn = DWORD(WINAPI*)(const char*, const char*, RasEntryName264*, DWORD*, DWORD*);

RasEnumEntriesFn LoadRasEnumEntries() {
  HMODULE ras = LoadSystemLibrary("rasapi32.dll");
  return ras ? reinterpret_cast<RasEnumEntriesFn>(
                   reinterpret_cast<void*>(GetProcAddress(ras, "RasEnumEntriesA")))
             : nullptr;
}

}  // namespace

std::vector<std::string> Win32PhoneBook::EntryNames() {
  static const RasEnumEntriesFn enumEntries = LoadRasEnumEntries();
  if (!enumEntries) return {};

  RasEntryName264 entries[kMaxEntries] = {};
  for (auto& entry : entries) entry.size = sizeof entry;
  DWORD bytes = sizeof entries;
  DWORD count = 0;
  // More entries than fit count as a failed listing, as does any error.
  if (enumEntries(nullptr, nullptr, entries, &bytes, &count) != ERROR_SUCCESS) return {};

  std::vector<std::string> names;
  for (DWORD i = 0; i < count && i < kMaxEntries; ++i)
    names.emplace_back(entries[i].name, strnlen(entries[i].name, sizeof entries[i].name));
  return names;
}
