#include "driver/remote_memory.h"

#include <utility>

namespace e2e {

RemoteMemory::RemoteMemory(HANDLE process, std::size_t size)
    : process_(process),
      address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)),
      size_(size) {}

RemoteMemory::RemoteMemory(RemoteMemory&& other) noexcept
    : process_(other.process_), address_(std::exchange(other.address_, nullptr)), size_(other.size_) {}

RemoteMemory::~RemoteMemory() {
  // Fails harmlessly when the process has ended meanwhile.
  if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

bool RemoteMemory::Write(const void* data, std::size_t size, std::size_t offset) const {
  SIZE_T written = 0;
  return address_ && offset + size <= size_ &&
         WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, &written) &&
         written == size;
}

bool RemoteMemory::Read(void* data, std::size_t size, std::size_t offset) const {
  SIZE_T got = 0;
  return address_ && offset + size <= size_ &&
         ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, &got) && got == size;
}

std::string RemoteMemory::ReadText(std::size_t offset, std::size_t maxBytes) const {
  std::string text(maxBytes, '\0');
  if (!Read(text.data(), maxBytes, offset)) return {};
  text.resize(text.find('\0') == std::string::npos ? maxBytes : text.find('\0'));
  return text;
}

}  // namespace e2e
