// The program's entry: the Windows services, the hidden main window, the
// startup sequence, then the message loop until the window is destroyed.
//
// The headers with the platform interfaces come before <windows.h>, whose
// ReplaceFile macro would otherwise rename FileSystem::ReplaceFile here.
#include "context/app_context.h"
#include "app/startup.h"
#include "links/share_links.h"
#include "tray/tray_icon.h"
#include "platform/win32/diag_services_win32.h"
#include "platform/win32/dialogs_win32.h"
#include "platform/win32/engine_services_win32.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/process_list_win32.h"
#include "platform/win32/program_location_win32.h"
#include "platform/win32/single_instance_win32.h"
#include "platform/win32/system_library_win32.h"
#include "platform/win32/system_services_win32.h"
#include "platform/win32/win32_notification_area.h"

#include "app/win32/main_window.h"
#include "app/win32/proxy_restore_main.h"
#include "app/win32/share_qr_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
  // Before anything loads a DLL: none may come from the program's folder.
  LoadLibrariesFromSystemFolderOnly();
  // Started by the logon after a crash: the proxy settings only, unseen.
  if (AsksForProxyRestore(arguments)) return RunProxyRestoreProgram();

  Win32FileSystem files;
  Win32ProgramLocation location;
  Win32Dialogs dialogs;
  Win32ProcessList processes;
  Win32SingleInstance instanceEvent;
  Platform platform{files, location, dialogs, processes, instanceEvent};

  MainWindow window(instance);
  if (!window.Create()) return 1;
  dialogs.SetOwner(window.WindowHandle());

  Win32NotificationArea shell;
  TrayIcon tray(shell);

  AppContext app(window, platform);
  app.tray = &tray;
  Win32Engine engine;
  app.engine = &engine.services;
  Win32System system;  // after app: it goes first, stopping its threads
  app.system = &system.services;
  Win32Diag diag(window.WindowHandle());
  app.diag = &diag.services;
  ShareQrWindow qrWindow(instance, window.Handle(),
                         [&app](const std::string& link) { CopyShareLink(app, link); });
  app.qrWindow = &qrWindow;
  window.Attach(app);

  // A second copy ends here, before it touches anything.
  if (RunStartupSequence(app) == StartupResult::ExitNow) return 0;
  return window.RunMessageLoop();
}
