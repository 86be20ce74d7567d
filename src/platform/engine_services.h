#pragma once
// The Windows services behind engine control: the engine's process, console
// commands, the responsive wait and the network adapters. The Win32 program
// and the tests each wire their own.
#include "platform/command_runner.h"
#include "platform/engine_processes.h"
#include "platform/network_adapters.h"
#include "platform/responsive_wait.h"

struct EngineServices {
  EngineProcesses& processes;
  CommandRunner& commands;
  ResponsiveWait& wait;
  NetworkAdapters& adapters;
};
