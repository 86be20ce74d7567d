#pragma once
// The Win32 services of the proxy settings, the PAC file, start at logon and
// the update check, wired into one SystemServices. Declare it after the
// AppContext it serves: it is then destroyed first, and its destructor stops
// the PAC server and lets the workers end while the window, the tray icon
// and the configuration they use still exist.
#include "system/system_services.h"
#include "platform/win32/connectivity_check_win32.h"
#include "platform/win32/downloader_win32.h"
#include "platform/win32/internet_options_win32.h"
#include "platform/win32/loopback_server_win32.h"
#include "platform/win32/phone_book_win32.h"
#include "platform/win32/random_source_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/shell_actions_win32.h"
#include "platform/win32/worker_threads_win32.h"
#include "update/maker_addresses.h"

struct Win32System {
  Win32System() = default;
  ~Win32System() {
    pacServer.Stop();
    workers.Finish();
  }
  Win32System(const Win32System&) = delete;
  Win32System& operator=(const Win32System&) = delete;

  Win32Registry registry;
  Win32PhoneBook phoneBook;
  Win32InternetOptions internetOptions;
  Win32Downloader downloader;
  Win32ConnectivityCheck connectivity{ConnectivityProbeAddress()};
  Win32ShellActions shell;
  Win32LoopbackServer pacServer;
  Win32WorkerThreads workers;
  Win32RandomSource random;
  SystemServices services{registry, phoneBook, internetOptions, downloader,
                          connectivity, shell, pacServer, workers, random};
};
