// A stand-in for a DLL that someone leaves beside corvane.exe under the name
// of a system DLL. Whoever loads it, it leaves "<its own path>.loaded" beside
// itself, naming the program that loaded it, and the test finds it there.
// It exports nothing: a program that took it for the real DLL fails as well.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  char marker[MAX_PATH + 16];
  const DWORD length = GetModuleFileNameA(self, marker, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return TRUE;
  lstrcatA(marker, ".loaded");
  char loader[MAX_PATH];
  const DWORD loaderLength = GetModuleFileNameA(nullptr, loader, MAX_PATH);
  HANDLE file = CreateFileA(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return TRUE;
  DWORD written = 0;
  WriteFile(file, loader, loaderLength, &written, nullptr);
  CloseHandle(file);
  return TRUE;
}
