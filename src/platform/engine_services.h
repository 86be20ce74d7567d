#pragma once
// The Windows services behind engine control: the engine's process, console
// commands, the responsive wait, the network adapters, the code page command
// lines are split by, and the clock. The Win32 program and the tests each
// wire their own.
#include "platform/ansi_code_page.h"
#include "platform/command_runner.h"
#include "platform/engine_processes.h"
#include "platform/network_adapters.h"
#include "platform/responsive_wait.h"
#include "platform/tick_clock.h"

struct EngineServices {
  EngineProcesses& processes;
  CommandRunner& commands;
  ResponsiveWait& wait;
  NetworkAdapters& adapters;
  AnsiCodePage& codePage;
  TickClock& clock;  // spaces the engine's restarts
};
