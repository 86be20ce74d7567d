#pragma once
// DLLs from the system folder only. The program is a portable exe that users
// keep in Downloads or on a shared folder, where anyone may leave a DLL
// named like a system one; Windows looks in the program's own folder first
// for any DLL outside its KnownDLLs list.
#include <windows.h>

// Narrows every later load, the delay-loaded DLLs and what system DLLs load
// in turn, to the system folder. Called first thing in WinMain. Without
// the call (Windows 7 without KB2533623) nothing changes.
void LoadLibrariesFromSystemFolderOnly();

// A DLL the program loads by name, taken from the system folder only.
HMODULE LoadSystemLibrary(const char* name);
