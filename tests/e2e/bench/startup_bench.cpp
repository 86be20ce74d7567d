// Start-up figures of corvane.exe under Wine, started as after a double-click
// (through the shell stand-in) from a fresh folder without config.ini: how
// long from the start until its main window exists, config.ini is written,
// the tray icon is in place (the window carries the tray's properties) and
// the message loop waits for input; the memory the process then holds; and
// how long the tray item "退出" takes to destroy the window and to end the
// process.
//
// Each run also starts the bare Win32 program built beside corvane.exe
// (tools/bare_win32: window, tab control, list view, status bar, tray icon),
// the two alternating, and the medians of both and their ratios are printed:
// Wine's own start-up noise is larger than the difference, so only medians
// over many runs mean anything.
//
// Run through tests/e2e/run_under_wine.sh; the first argument is the number
// of runs of each (9 by default).
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>
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
  SIZE_T workingSet = 0, peakWorkingSet = 0, commit = 0, privateBytes = 0;
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

BOOL CALLBACK FindTab(HWND child, LPARAM found) {
  if (ClassOf(child) != "SysTabControl32") return TRUE;
  *reinterpret_cast<bool*>(found) = true;
  return FALSE;
}

// The program's main window: the top-level window holding a tab control.
HWND MainWindowOf(DWORD processId) {
  for (HWND window : TopLevelWindowsOf(processId)) {
    bool found = false;
    EnumChildWindows(window, FindTab, reinterpret_cast<LPARAM>(&found));
    if (found) return window;
  }
  return nullptr;
}

std::string BareExePath() {
  const std::string corvane = CorvaneExePath();
  return corvane.substr(0, corvane.find_last_of('\\') + 1) + "bare_win32.exe";
}

unsigned long long FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool ReadMemory(const ProgramRun& run, Figures& f) {
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (!GetProcessMemoryInfo(run.Handle(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory))
    return false;
  f.workingSet = memory.WorkingSetSize;
  f.peakWorkingSet = memory.PeakWorkingSetSize;
  f.commit = memory.PagefileUsage;
  // Wine leaves PrivateUsage at 0; the commit charge is the same figure
  // on Windows.
  f.privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
  return true;
}

// Watches a program just started (`clock` began before the start) until its message loop waits: when its
// main window exists, `config` (if named) is written and the tray icon is in
// place (the window carries the tray's properties). Returns the window.
HWND WatchStart(ProgramRun& run, const Stopwatch& clock, const std::string& config, Figures& f) {
  HWND window = nullptr;
  WaitUntil(
      [&] {
        const double now = clock.Milliseconds();
        if (!window && (window = MainWindowOf(run.Id()))) f.window = now;
        if (!config.empty() && f.config < 0 && GetFileAttributesA(config.c_str()) != INVALID_FILE_ATTRIBUTES)
          f.config = now;
        if (window && f.tray < 0 && GetPropA(window, "CallbackMessage")) f.tray = now;
        if (f.tray >= 0 && WaitForInputIdle(run.Handle(), 0) == 0) f.idle = clock.Milliseconds();
        return f.idle >= 0 || !run.Running();
      },
      kStartTimeout, 2);
  return window;
}

// The bare program: up to the window, the tray icon and the waiting message
// loop, its memory, then closed.
bool BareRun(int index, Figures& f) {
  TestFolder folder("startup-bench-bare-" + std::to_string(index));
  const std::string exe = folder.PathOf("bare_win32.exe");
  if (!CopyFileA(BareExePath().c_str(), exe.c_str(), FALSE)) return false;
  const Stopwatch clock;
  ProgramRun run = ProgramRun::StartFromShell(exe);
  const HWND window = WatchStart(run, clock, "", f);
  if (f.idle < 0 || !ReadMemory(run, f)) return false;
  PostMessageA(window, WM_CLOSE, 0, 0);
  return run.WaitForExit(kActionTimeout).has_value();
}

bool OneRun(int index, Figures& f) {
  TestFolder folder("startup-bench-" + std::to_string(index));
  const std::string exe = folder.InstallCorvane();
  const std::string config = folder.PathOf("config.ini");

  const Stopwatch clock;
  ProgramRun run = ProgramRun::StartFromShell(exe);
  const HWND window = WatchStart(run, clock, config, f);
  if (f.idle < 0 || !ReadMemory(run, f)) return false;

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


double MedianOf(const std::vector<Figures>& all, double Figures::*field) {
  std::vector<double> values;
  for (const Figures& f : all) values.push_back(f.*field);
  return Median(values);
}

double MedianKib(const std::vector<Figures>& all, SIZE_T Figures::*field) {
  std::vector<double> values;
  for (const Figures& f : all) values.push_back(static_cast<double>(f.*field) / 1024.0);
  return Median(values);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  std::printf("corvane.exe start-up, %d starts from the shell stand-in in fresh folders, each followed by one of\n"
              "the bare Win32 program\n", runs);
  std::printf("window, config, tray, idle: ms from starting the shell stand-in; closed, ended: ms from \"exit\"\n");
  std::printf("%4s %9s %9s %9s %9s %9s %9s %10s %10s %10s | bare: %7s %7s %7s %10s %10s\n", "run", "window", "config",
              "tray", "idle", "closed", "ended", "WS KiB", "priv KiB", "commit", "window", "tray", "idle", "WS KiB",
              "priv KiB");
  std::vector<Figures> all, bare;
  for (int i = 1; i <= runs; ++i) {
    Figures f, b;
    if (!OneRun(i, f) || !BareRun(i, b)) {
      std::printf("%4d  failed: a program did not start or end in time\n", i);
      return 1;
    }
    std::printf("%4d %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f %10llu %10llu %10llu | bare: %7.1f %7.1f %7.1f %10llu %10llu\n",
                i, f.window, f.config, f.tray, f.idle, f.closed, f.exit, Kib(f.workingSet), Kib(f.privateBytes),
                Kib(f.commit), b.window, b.tray, b.idle, Kib(b.workingSet), Kib(b.privateBytes));
    all.push_back(f);
    bare.push_back(b);
  }
  std::printf("(the first run includes Wine's own start-up costs for a new process image)\n\n");
  std::printf("medians          %10s %10s %10s\n", "corvane", "bare", "ratio");
  for (auto [name, field] : {std::pair{"window ms", &Figures::window}, std::pair{"tray ms", &Figures::tray},
                             std::pair{"idle ms", &Figures::idle}}) {
    const double c = MedianOf(all, field), b = MedianOf(bare, field);
    std::printf("%-16s %10.1f %10.1f %10.2f\n", name, c, b, b > 0 ? c / b : 0.0);
  }
  for (auto [name, field] : {std::pair{"private KiB", &Figures::privateBytes},
                             std::pair{"working set KiB", &Figures::workingSet}}) {
    const double c = MedianKib(all, field), b = MedianKib(bare, field);
    std::printf("%-16s %10.0f %10.0f %10.2f  (difference %.0f KiB)\n", name, c, b, b > 0 ? c / b : 0.0, c - b);
  }
  std::printf("closed ms %.1f, ended ms %.1f (corvane, from \"exit\")\n", MedianOf(all, &Figures::closed),
              MedianOf(all, &Figures::exit));
  std::printf("corvane.exe under test: %llu bytes (%zu-bit build)\n", FileSize(CorvaneExePath()), sizeof(void*) * 8);
  return 0;
}
