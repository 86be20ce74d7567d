#pragma once
// The program as the logon's RunOnce value starts it: no window, no tray
// icon, no box; the user's proxy settings back, then the end.

// True when the arguments (the command line after the program's path) are
// the restore switch.
bool AsksForProxyRestore(const char* arguments);
// Returns the process exit code.
int RunProxyRestoreProgram();
