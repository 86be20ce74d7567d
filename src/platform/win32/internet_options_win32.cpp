#include "platform/win32/internet_options_win32.h"

#include <windows.h>
#include <wininet.h>

void Win32InternetOptions::SettingsChanged() {
  InternetSetOptionA(nullptr, INTERNET_OPTION_SETTINGS_CHANGED, nullptr, 0);
}

void Win32InternetOptions::Refresh() { InternetSetOptionA(nullptr, INTERNET_OPTION_REFRESH, nullptr, 0); }
