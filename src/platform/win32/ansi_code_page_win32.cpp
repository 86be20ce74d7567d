#include "platform/win32/ansi_code_page_win32.h"

#include <windows.h>

unsigned Win32AnsiCodePage::Current() { return GetACP(); }
