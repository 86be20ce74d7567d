// Figures of corvane.exe with many nodes under Wine: how long importing
// 10,000 share links takes, from the click on "导入分享链接" until config.ini
// holds them all and the window answers again; and how long a start from the
// shell takes until the window answers with 1, 10,000 and 100,000 nodes in
// config.ini. Each start waits a moment first: Wine is slow to start a
// process right after it has ended another.
//
// Run through tests/e2e/run_under_wine.sh.
#include <windows.h>

#include <cstdio>
#include <string>

#include "driver/clipboard.h"
#include "driver/corvane_window.h"
#include "driver/ini_text.h"
#include "driver/polling.h"
#include "driver/process_figures.h"
#include "driver/program_run.h"
#include "driver/test_folder.h"
#include "driver/windows.h"

namespace {

using namespace e2e;

constexpr DWORD kLongTimeout = 600000;

std::string ConfigWithNodes(int count) {
  std::string text = "[NodeList]\r\nNum=" + std::to_string(count) + "\r\nSelect node=0\r\n[Node]\r\n";
  for (int i = 1; i <= count; ++i)
    text += "Node" + std::to_string(i) + "=10." + std::to_string(i / 65536) + "." + std::to_string(i / 256 % 256) +
            "." + std::to_string(i % 256) + " 443 password" + std::to_string(i) + " 0 node" + std::to_string(i) +
            "\r\n";
  return text;
}

// From the click until config.ini counts every node and the window answers.
double ImportMilliseconds(int links) {
  TestFolder folder("scaling-bench-import");
  const std::string exe = folder.InstallCorvane();
  folder.Write("config.ini", ConfigWithNodes(1));
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  if (!window) return -1;
  std::string clipboard;
  for (int i = 1; i <= links; ++i)
    clipboard += "brook://stream%2010.0." + std::to_string(i / 256) + "." + std::to_string(i % 256) +
                 "%3A9999%20password" + std::to_string(i) + "\r\n";
  if (!SetClipboardText(clipboard)) return -1;

  const std::string expected = std::to_string(links + 1);
  const LARGE_INTEGER start = Now();
  window->Click(Ctl::按钮_导入分享链接);
  const bool done = WaitUntil(
      [&] { return IniValue(folder.Read("config.ini").value_or(""), "NodeList", "Num") == expected; },
      kLongTimeout, 20);
  if (!done || !Ping(window->Handle(), kLongTimeout)) return -1;
  return MillisecondsSince(start);
}

// From the start until the window answers, its startup sequence done.
double LoadMilliseconds(int nodes) {
  TestFolder folder("scaling-bench-load-" + std::to_string(nodes));
  const std::string exe = folder.InstallCorvane();
  folder.Write("config.ini", ConfigWithNodes(nodes));
  Sleep(3000);
  const LARGE_INTEGER start = Now();
  ProgramRun run = ProgramRun::StartFromShell(exe);
  if (!CorvaneWindow::WaitFor(run, kLongTimeout)) return -1;
  return MillisecondsSince(start);
}

}  // namespace

int main() {
  std::printf("corvane.exe with many nodes (ms; -1: did not finish in %lu s)\n", kLongTimeout / 1000);
  std::printf("import 10000 links:           %10.1f\n", ImportMilliseconds(10000));
  std::printf("start with 1 node:             %10.1f\n", LoadMilliseconds(1));
  std::printf("start with 10000 nodes:       %10.1f\n", LoadMilliseconds(10000));
  std::printf("start with 100000 nodes:      %10.1f\n", LoadMilliseconds(100000));
  return 0;
}
