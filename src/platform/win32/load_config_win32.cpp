// The image's load-configuration record. Its one setting that matters here
// is DependentLoadFlags: Windows 10 1607 and later resolve the program's
// own imports (those outside KnownDLLs) from the system folder only, before
// any code of the program runs. The linker keeps the record by name and the
// build points the image's load-configuration entry at it
// (cmake/set_load_config.py): MinGW's linker does not.
#include <windows.h>

#include <cstddef>
#include <cstdint>

// The documented layout up to the safe-exception fields, in the image's
// pointer size; nothing beyond them is set.
struct LoadConfig {
  std::uint32_t size;
  std::uint32_t timeDateStamp;
  std::uint16_t majorVersion, minorVersion;
  std::uint32_t globalFlagsClear, globalFlagsSet, criticalSectionDefaultTimeout;
  std::uintptr_t deCommitFreeBlockThreshold, deCommitTotalFreeThreshold, lockPrefixTable, maximumAllocationSize,
      virtualMemoryThreshold;
#ifdef _WIN64
  std::uintptr_t processAffinityMask;
  std::uint32_t processHeapFlags;
#else
  std::uint32_t processHeapFlags;
  std::uintptr_t processAffinityMask;
#endif
  std::uint16_t csdVersion;
  std::uint16_t dependentLoadFlags;
  std::uintptr_t editList, securityCookie;
#ifdef _WIN64
  // 64-bit images carry no handler table; the record stops here.
  std::uintptr_t seHandlerTable, seHandlerCount;
#endif
};
#ifdef _WIN64
static_assert(offsetof(LoadConfig, dependentLoadFlags) == 0x4E && sizeof(LoadConfig) == 0x70);
#else
// 64 bytes, the size Windows XP insists on for 32-bit images; without the
// safe-exception fields, handlers are checked as they always were.
static_assert(offsetof(LoadConfig, dependentLoadFlags) == 0x36 && sizeof(LoadConfig) == 0x40);
#endif

constexpr LoadConfig SystemFolderOnly() {
  LoadConfig record{};
  record.size = sizeof(LoadConfig);
  record.dependentLoadFlags = LOAD_LIBRARY_SEARCH_SYSTEM32;
  return record;
}

extern "C" __attribute__((used)) const LoadConfig _load_config_used = SystemFolderOnly();
