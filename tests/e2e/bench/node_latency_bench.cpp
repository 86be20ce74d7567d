// Figures of the latency test of all nodes under Wine: 1,000 and 10,000
// nodes against loopback ports, half of them listeners whose connects are
// made, half closed ports that refuse. From the command until the last row
// shows its result: the wall time, how much the program's private memory
// grew meanwhile, and the longest the window took to answer a message.
//
// Run through tests/e2e/run_under_wine.sh.
#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "context/list_menu_layout.h"
#include "driver/corvane_window.h"
#include "driver/loopback_peers.h"
#include "driver/polling.h"
#include "driver/process_figures.h"
#include "driver/program_run.h"
#include "driver/test_folder.h"
#include "driver/windows.h"

namespace {

using namespace e2e;

constexpr DWORD kLongTimeout = 300000;
constexpr int kNodesPerListener = 50;  // well inside a listener's backlog

struct Figures {
  double wallMs = -1;
  double growthKb = 0;
  double slowestAnswerMs = 0;
  int untested = 0;
};

Figures Measure(int count) {
  Figures figures;
  LoopbackPeers peers;
  const int closed = peers.ClosedPort();
  int listener = 0;
  std::string config = "[BasisConfig]\r\nFile=\r\n[MoreSettings]\r\nTimeout=10\r\n[NodeList]\r\nNum=" +
                       std::to_string(count) + "\r\nSelect node=0\r\n[Node]\r\n";
  for (int i = 0; i < count; ++i) {
    if (i % (2 * kNodesPerListener) == 0) listener = peers.AddListener();
    config += "Node" + std::to_string(i + 1) + "=127.0.0.1 " + std::to_string(i % 2 ? closed : listener) +
              " p 0 n" + std::to_string(i) + "\r\n";
  }
  TestFolder folder("node-latency-bench-" + std::to_string(count));
  const std::string exe = folder.InstallCorvane();
  folder.Write("config.ini", config);
  Sleep(2000);
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  if (!window) return figures;
  Sleep(1000);  // the start's own work settles
  const SIZE_T before = CommittedBytes(run.Handle());
  SIZE_T most = before;

  const LARGE_INTEGER start = Now();
  window->Command(menu::测试全部节点延迟);
  bool done = false;
  while (!done && MillisecondsSince(start) < kLongTimeout) {
    const LARGE_INTEGER asked = Now();
    Ping(window->Handle(), kLongTimeout);
    figures.slowestAnswerMs = std::max(figures.slowestAnswerMs, MillisecondsSince(asked));
    most = std::max(most, CommittedBytes(run.Handle()));
    done = !window->RowDetail(count - 1).empty();
    if (!done) Sleep(20);
  }
  if (!done) return figures;
  figures.wallMs = MillisecondsSince(start);
  most = std::max(most, CommittedBytes(run.Handle()));
  figures.growthKb = (static_cast<double>(most) - static_cast<double>(before)) / 1024.0;
  for (const std::string& detail : window->RowDetails()) figures.untested += detail.empty() ? 1 : 0;
  return figures;
}

}  // namespace

int main() {
  std::printf("latency test of all nodes, half listening, half refusing (-1: did not finish in %lu s)\n",
              kLongTimeout / 1000);
  std::printf("%8s %12s %16s %20s %10s\n", "nodes", "wall ms", "private KB grew", "slowest answer ms", "untested");
  for (int count : {1000, 10000}) {
    const Figures f = Measure(count);
    std::printf("%8d %12.1f %16.1f %20.1f %10d\n", count, f.wallMs, f.growthKb, f.slowestAnswerMs, f.untested);
  }
  return 0;
}
