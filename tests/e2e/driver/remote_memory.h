#pragma once
// A block of memory inside another process, for the messages whose
// parameters point to memory (list-view items, tab rectangles, dropped
// files): the system copies only a few message parameters between processes.
// Both programs are built for the same processor, so their structures match.
#include <windows.h>

#include <cstddef>
#include <string>

namespace e2e {

class RemoteMemory {
 public:
  RemoteMemory(HANDLE process, std::size_t size);
  RemoteMemory(RemoteMemory&& other) noexcept;
  RemoteMemory& operator=(RemoteMemory&&) = delete;
  RemoteMemory(const RemoteMemory&) = delete;
  ~RemoteMemory();

  bool Valid() const { return address_ != nullptr; }
  // The block's address as the other process sees it.
  void* Address() const { return address_; }
  LPARAM AsParam(std::size_t offset = 0) const {
    return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset);
  }

  bool Write(const void* data, std::size_t size, std::size_t offset = 0) const;
  bool Read(void* data, std::size_t size, std::size_t offset = 0) const;
  template <class T>
  bool Write(const T& value, std::size_t offset = 0) const { return Write(&value, sizeof value, offset); }
  template <class T>
  bool Read(T& value, std::size_t offset = 0) const { return Read(&value, sizeof value, offset); }
  // A zero-terminated text stored at `offset`.
  std::string ReadText(std::size_t offset, std::size_t maxBytes) const;

 private:
  HANDLE process_;
  void* address_;
  std::size_t size_;
};

}  // namespace e2e
