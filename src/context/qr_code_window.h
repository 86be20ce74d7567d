#pragma once
// The small window that shows the current node's share link as a QR code,
// for a phone's camera. The Win32 program implements it with a window of its
// own; the tests use a fake.
#include <string_view>
#include <vector>

// A QR code as its grid of modules, the quiet zone included.
struct QrModules {
  int size = 0;                     // modules per side
  std::vector<unsigned char> dark;  // row after row, 1 for a dark module
  bool Dark(int x, int y) const { return dark[static_cast<std::size_t>(y) * size + x] != 0; }
};

class QrCodeWindow {
 public:
  virtual ~QrCodeWindow() = default;
  // Shows `code` with `link` beneath it and brings the window to the front.
  // There is one such window: when it is open already, it shows these
  // instead of what it showed.
  virtual void Show(std::string_view link, const QrModules& code) = 0;
};
