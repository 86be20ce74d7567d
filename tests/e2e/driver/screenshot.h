#pragma once
// Screenshots of the X display the program draws on. A Windows program
// cannot run the X tools, so the driver asks the wrapper script for them:
// it leaves "<name>.shot-request" in the work folder, the script saves
// <name>.png in its screenshot folder and answers with "<name>.shot-done".
// A "<name>.qr-request" holding a screen rectangle (WxH+X+Y) gets that part
// of the display saved as <name>.png and read by zbarimg, whose raw bytes
// go to "<name>.qr-text", answered by "<name>.qr-done".
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace e2e {

// True once the wrapper reports the picture taken; false after `timeout` ms
// (e.g. when the driver runs without the wrapper).
bool TakeScreenshot(std::string_view name, DWORD timeout);

// The bytes of the QR code an independent decoder reads from a picture of
// `window` as the display shows it; empty when it finds none, nothing when
// no picture was taken within `timeout` ms.
std::optional<std::string> ScanQrCode(std::string_view name, HWND window, DWORD timeout);

}  // namespace e2e
