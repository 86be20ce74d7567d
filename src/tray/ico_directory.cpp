#include "tray/ico_directory.h"

#include <cstddef>

namespace {

// ICO header: reserved u16, type u16, entry count u16; then 16-byte entries:
// width u8, height u8, colours u8, reserved u8, planes u16, bits u16,
// image size u32, image offset u32, all little-endian.
constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kEntrySize = 16;

std::uint32_t ReadU16(std::span<const unsigned char> b, std::size_t at) {
  return b[at] | (b[at + 1] << 8);
}

std::uint32_t ReadU32(std::span<const unsigned char> b, std::size_t at) {
  return ReadU16(b, at) | (ReadU16(b, at + 2) << 16);
}

int Dimension(unsigned char stored) { return stored == 0 ? 256 : stored; }

}  // namespace

std::optional<IcoImage> FindIcoImage(std::span<const unsigned char> ico, int index) {
  if (index < 0 || ico.size() < kHeaderSize) return std::nullopt;
  if (static_cast<std::uint32_t>(index) >= ReadU16(ico, 4)) return std::nullopt;

  const std::size_t entry = kHeaderSize + kEntrySize * static_cast<std::size_t>(index);
  if (entry + kEntrySize > ico.size()) return std::nullopt;

  // 64-bit sums: a lying offset or size near 4 GiB must not wrap around.
  const std::uint64_t size = ReadU32(ico, entry + 8);
  const std::uint64_t offset = ReadU32(ico, entry + 12);
  if (size == 0 || offset + size > ico.size()) return std::nullopt;

  return IcoImage{Dimension(ico[entry]), Dimension(ico[entry + 1]),
                  ico.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(size))};
}
