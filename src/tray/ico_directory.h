#pragma once
// Finding one image inside the bytes of an ICO file.
#include <cstdint>
#include <optional>
#include <span>

struct IcoImage {
  int width = 0;   // pixels; a directory byte of 0 means 256
  int height = 0;
  std::span<const unsigned char> bytes;  // the image as CreateIconFromResource takes it
};

// The image that directory entry `index` describes, or nothing when the
// entry or its image does not lie wholly inside `ico`.
std::optional<IcoImage> FindIcoImage(std::span<const unsigned char> ico, int index);
