// The headers with the platform interfaces come before <windows.h> (see
// winmain.cpp).
#include "app/win32/proxy_restore_main.h"

#include <string_view>

#include "app/headless_form.h"
#include "app/proxy_restore.h"
#include "context/app_context.h"
#include "platform/win32/dialogs_win32.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/process_list_win32.h"
#include "platform/win32/program_location_win32.h"
#include "platform/win32/single_instance_win32.h"
#include "platform/win32/system_services_win32.h"
#include "system/logon_restore.h"

bool AsksForProxyRestore(const char* arguments) {
  std::string_view given = arguments ? arguments : "";
  while (!given.empty() && (given.front() == ' ' || given.front() == '\t')) given.remove_prefix(1);
  while (!given.empty() && (given.back() == ' ' || given.back() == '\t')) given.remove_suffix(1);
  return given == kRestoreProxySwitch;
}

int RunProxyRestoreProgram() {
  Win32FileSystem files;
  Win32ProgramLocation location;
  Win32Dialogs dialogs;
  Win32ProcessList processes;
  Win32SingleInstance instance;
  Platform platform{files, location, dialogs, processes, instance};
  HeadlessForm form;
  AppContext app(form, platform);
  Win32System system;  // after app: it goes first
  app.system = &system.services;
  RunProxyRestore(app);
  return 0;
}
