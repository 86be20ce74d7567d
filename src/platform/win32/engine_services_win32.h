#pragma once
// The Win32 services behind engine control, wired together.
#include "platform/engine_services.h"
#include "platform/win32/ansi_code_page_win32.h"
#include "platform/win32/command_runner_win32.h"
#include "platform/win32/engine_processes_win32.h"
#include "platform/win32/network_adapters_win32.h"
#include "platform/win32/responsive_wait_win32.h"
#include "platform/win32/tick_clock_win32.h"

struct Win32Engine {
  Win32EngineProcesses processes;  // its job ends a still running engine with this object
  Win32CommandRunner commands;
  Win32ResponsiveWait wait;
  Win32NetworkAdapters adapters;
  Win32AnsiCodePage codePage;
  Win32TickClock clock;
  EngineServices services{processes, commands, wait, adapters, codePage, clock};
};
