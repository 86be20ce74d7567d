#include "platform/win32/random_source_win32.h"

#include <windows.h>
#include <ntsecapi.h>

std::string Win32RandomSource::Bytes(std::size_t count) {
  std::string bytes(count, '\0');
  if (!RtlGenRandom(bytes.data(), static_cast<ULONG>(count))) return {};
  return bytes;
}
