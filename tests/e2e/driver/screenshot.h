#pragma once
// Screenshots of the X display the program draws on. A Windows program
// cannot run the X tools, so the driver asks the wrapper script for them:
// it leaves "<name>.shot-request" in the work folder, the script saves
// <name>.png in its screenshot folder and answers with "<name>.shot-done".
#include <windows.h>

#include <string_view>

namespace e2e {

// True once the wrapper reports the picture taken; false after `timeout` ms
// (e.g. when the driver runs without the wrapper).
bool TakeScreenshot(std::string_view name, DWORD timeout);

}  // namespace e2e
