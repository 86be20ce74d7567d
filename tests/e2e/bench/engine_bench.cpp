// Engine figures of corvane.exe under Wine with the stand-in engine, in
// global mode: from the click on "启动" until a request through the local
// proxy is answered, and from the click on "停止" until the system proxy
// settings are cleared.
//
// Run through tests/e2e/run_under_wine.sh; the first argument is the number
// of runs (5 by default).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "context/tray_menu_layout.h"
#include "driver/corvane_window.h"
#include "driver/internet_settings.h"
#include "driver/loopback_traffic.h"
#include "driver/polling.h"
#include "driver/program_run.h"
#include "driver/test_folder.h"

namespace {

using namespace e2e;

double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Figures {
  double proxyAnswers = -1, settingsCleared = -1;
};

bool OneRun(int index, const OriginServer& origin, Figures& f) {
  TestFolder folder("engine-bench-" + std::to_string(index));
  const std::string exe = folder.InstallCorvane();
  const std::string port = std::to_string(21000 + GetCurrentProcessId() % 20000);
  folder.Write("config.ini", "[BasisConfig]\r\nFile=" + folder.InstallEngine() + "\r\nLocal port=" + port +
                                 "\r\nRun Mode=HTTP\r\nProxy Mode=2\r\n[NodeList]\r\nNum=1\r\nSelect node=0\r\n"
                                 "[Node]\r\nNode1=127.0.0.1 9001 secret 0 bench\r\n");
  ClearInternetSettings();
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  if (!window) return false;

  const std::string body = OriginServer::BodyFor("/bench");
  double start = Now();
  window->Click(Ctl::按钮_启动);
  if (!WaitUntil([&] { return FetchThroughHttpProxy(std::stoi(port), origin.Port(), "/bench") == body; },
                 kActionTimeout, 5))
    return false;
  f.proxyAnswers = Now() - start;

  if (!WaitUntil([] { return InternetSettingNumber("ProxyEnable") == std::optional<DWORD>(1); }, kActionTimeout))
    return false;
  start = Now();
  window->Click(Ctl::按钮_停止);
  if (!WaitUntil(InternetSettingsCleared, kActionTimeout, 5)) return false;
  f.settingsCleared = Now() - start;
  window->Command(menu::退出);
  run.WaitForExit(kActionTimeout);
  return true;
}

void Print(const char* what, std::vector<double> values) {
  std::sort(values.begin(), values.end());
  std::printf("%-40s median %8.1f ms   min %8.1f   max %8.1f\n", what, values[values.size() / 2], values.front(),
              values.back());
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  OriginServer origin;
  std::vector<double> answers, cleared;
  for (int i = 0; i < runs; ++i) {
    Figures f;
    if (!OneRun(i, origin, f)) {
      std::printf("run %d failed\n", i + 1);
      ClearInternetSettings();
      return 1;
    }
    answers.push_back(f.proxyAnswers);
    cleared.push_back(f.settingsCleared);
  }
  ClearInternetSettings();
  std::printf("Engine control under Wine, %d runs (global mode, stand-in engine):\n", runs);
  Print("start click -> local proxy answers", answers);
  Print("stop click -> proxy settings cleared", cleared);
  return 0;
}
