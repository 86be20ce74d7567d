#pragma once
// The tray item "显示分享二维码": the link "生成分享链接" would copy, shown
// as a QR code that a phone's Brook client scans to import the node.
#include <optional>
#include <string_view>

#include "context/qr_code_window.h"

struct AppContext;

// The link's QR code: its bytes as they are (byte mode), error correction
// level M, the smallest version that holds them, and the quiet zone of four
// modules the standard asks for on every side. None when the link does not
// fit even version 40.
std::optional<QrModules> ShareLinkQrCode(std::string_view link);

// Pixels per module on a screen of `dpi`: always whole pixels, so that every
// module is a crisp square, and 4 at 96 DPI.
int QrModulePixels(int dpi);
// The same, made smaller where a code of `modules` modules a side would not
// fit `room` pixels (a large code on a small screen), down to one pixel.
int QrModulePixels(int dpi, int modules, int room);

// Checks the fields as "生成分享链接" does, then shows the node in the edit
// controls in the QR code window. Nothing goes to the clipboard or config.ini.
void ShowShareQrCode(AppContext& app);
