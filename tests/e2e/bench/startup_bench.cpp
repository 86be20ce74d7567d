// Start-up figures of corvane.exe under Wine, started as after a double-click
// (through the shell stand-in) from a fresh folder without config.ini: how
// long from the start until its main window exists, config.ini is written,
// the tray icon is in place (the window carries the tray's properties) and
// the message loop waits for input; the memory the process then holds; and
// how long the tray item "退出" takes to destroy the window and to end the
// process.
//
// Run through tests/e2e/run_under_wine.sh; the first argument is the number
// of runs (5 by default).
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "context/tray_menu_layout.h"
#include "driver/corvane_window.h"
#include "driver/polling.h"
#include "driver/program_run.h"
#include "driver/test_folder.h"
#include "driver/windows.h"

namespace {

using namespace e2e;

struct Figures {
  double window = -1, config = -1, tray = -1, idle = -1;  // ms from the start
  double closed = -1, exit = -1;                           // ms from "退出"
  SIZE_T workingSet = 0, peakWorkingSet = 0, commit = 0;
};

class Stopwatch {
 public:
  Stopwatch() {
    QueryPerformanceFrequency(&frequency_);
    QueryPerformanceCounter(&start_);
  }
  double Milliseconds() const {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency_.QuadPart);
  }

 private:
  LARGE_INTEGER frequency_, start_;
};

HWND MainWindowOf(DWORD processId) {
  for (HWND window : TopLevelWindowsOf(processId))
    if (FindDescendant(window, static_cast<int>(Ctl::选择夹1))) return window;
  return nullptr;
}

bool OneRun(int index, Figures& f) {
  TestFolder folder("startup-bench-" + std::to_string(index));
  const std::string exe = folder.InstallCorvane();
  const std::string config = folder.PathOf("config.ini");

  Stopwatch clock;
  ProgramRun run = ProgramRun::StartFromShell(exe);
  HWND window = nullptr;
  WaitUntil(
      [&] {
        const double now = clock.Milliseconds();
        if (!window && (window = MainWindowOf(run.Id()))) f.window = now;
        if (f.config < 0 && GetFileAttributesA(config.c_str()) != INVALID_FILE_ATTRIBUTES) f.config = now;
        if (window && f.tray < 0 && GetPropA(window, "CallbackMessage")) f.tray = now;
        if (f.tray >= 0 && WaitForInputIdle(run.Handle(), 0) == 0) f.idle = clock.Milliseconds();
        return f.idle >= 0 || !run.Running();
      },
      kStartTimeout, 2);
  if (f.idle < 0) return false;

  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(run.Handle(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
    f.workingSet = memory.WorkingSetSize;
    f.peakWorkingSet = memory.PeakWorkingSetSize;
    f.commit = memory.PagefileUsage;
  }

  const std::optional<CorvaneWindow> driver = CorvaneWindow::WaitFor(run, kActionTimeout);
  if (!driver) return false;
  Stopwatch exitClock;
  driver->Command(menu::退出);
  if (!WaitUntil([&] { return !IsWindow(window); }, kActionTimeout, 2)) return false;
  f.closed = exitClock.Milliseconds();
  if (!run.WaitForExit(kActionTimeout)) return false;
  f.exit = exitClock.Milliseconds();
  return true;
}

unsigned long long Kib(SIZE_T bytes) { return static_cast<unsigned long long>(bytes / 1024); }

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  std::printf("corvane.exe start-up, %d starts from the shell stand-in in fresh folders\n", runs);
  std::printf("window, config, tray, idle: ms from starting the shell stand-in; closed, ended: ms from \"exit\"\n");
  std::printf("%4s %9s %9s %9s %9s %9s %9s %10s %10s %10s\n", "run", "window", "config", "tray", "idle", "closed",
              "ended", "WS KiB", "peak KiB", "commit");
  std::vector<Figures> all;
  for (int i = 1; i <= runs; ++i) {
    Figures f;
    if (!OneRun(i, f)) {
      std::printf("%4d  failed: the program did not start or end in time\n", i);
      return 1;
    }
    std::printf("%4d %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f %10llu %10llu %10llu\n", i, f.window, f.config, f.tray,
                f.idle, f.closed, f.exit, Kib(f.workingSet), Kib(f.peakWorkingSet), Kib(f.commit));
    all.push_back(f);
  }
  auto median = [&](double Figures::*field) {
    std::vector<double> values;
    for (const Figures& f : all) values.push_back(f.*field);
    return Median(values);
  };
  std::printf("median %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f\n", median(&Figures::window), median(&Figures::config),
              median(&Figures::tray), median(&Figures::idle), median(&Figures::closed), median(&Figures::exit));
  std::printf("(the first run includes Wine's own start-up costs for a new process image)\n");
  return 0;
}
