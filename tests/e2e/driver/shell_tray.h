#pragma once
// The notification area as the program sees it: a "Shell_TrayWnd" window of
// this driver that Shell_NotifyIcon finds before Wine's own, so every icon
// message the program sends, balloons included, arrives here and is kept.
// (Wine shows a balloon only when its systray is on screen, and only for a
// few seconds, so reading Wine's balloon windows would be a race.)
//
// Wine's shell32 hands the shell a flat copy of NOTIFYICONDATA in WM_COPYDATA;
// the layout read here is Wine 8's.
#include <windows.h>

#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

struct BalloonSeen {
  std::string title;  // GBK, as the program wrote it
  std::string text;
  DWORD iconKind = 0;  // NIIF_NONE, NIIF_INFO, NIIF_WARNING, NIIF_ERROR
};

class ShellTray {
 public:
  // Creates the window on a thread of its own; check Ready() before use.
  ShellTray();
  ~ShellTray();
  ShellTray(const ShellTray&) = delete;
  ShellTray& operator=(const ShellTray&) = delete;

  // Whether Shell_NotifyIcon now reaches this window rather than Wine's.
  bool Ready() const;
  // Every balloon received so far, oldest first.
  std::vector<BalloonSeen> Balloons() const;
  // The first balloon with this title within `timeout` ms.
  std::optional<BalloonSeen> WaitForBalloon(const std::string& title, DWORD timeout) const;
  // The icon's tip as last set (GBK).
  std::string Tip() const;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Run();
  void Receive(DWORD message, const BYTE* data, DWORD size);

  mutable std::mutex mutex_;
  std::vector<BalloonSeen> balloons_;
  std::string tip_;
  HANDLE created_ = nullptr;
  HWND window_ = nullptr;
  DWORD threadId_ = 0;
  std::thread thread_;
};

}  // namespace e2e
