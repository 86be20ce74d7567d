#pragma once
// The program's module state: the window, the services, the configuration
// file and the records every handler shares. One instance per process.
#include <string>

#include "context/form.h"
#include "context/run_state.h"
#include "ini/ini_file.h"
#include "context/node_table.h"
#include "context/qr_code_window.h"
#include "platform/platform.h"

class TrayIcon;
struct SystemServices;  // proxy settings, PAC, logon, updates
struct EngineServices;  // processes, commands, network adapters
struct DiagServices;    // clipboard, WinHTTP, ICMP echo, worker threads

struct AppContext {
  AppContext(Form& f, Platform& p) : form(f), platform(p), config(p.files) {}

  Form& form;
  Platform& platform;
  IniFile config;  // config.ini beside the program, pointed there at startup
  RunState run;
  NodeTable nodes;
  std::string engineDirectory;  // folder of the engine path, ending in "\"
  TrayIcon* tray = nullptr;     // attached by the startup sequence
  SystemServices* system = nullptr;
  EngineServices* engine = nullptr;
  DiagServices* diag = nullptr;
  QrCodeWindow* qrWindow = nullptr;  // the share link as a QR code
};

// The engine runs exactly while 按钮_启动 is disabled.
inline bool IsRunning(const Form& form) { return !form.Enabled(Ctl::按钮_启动); }
