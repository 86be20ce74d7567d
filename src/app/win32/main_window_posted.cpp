// Calls posted from any thread, run by the window's message loop. A posted
// message never waits for the window, so a system thread that reports an
// engine's end can never be held up by a window that is itself waiting.
#include <memory>

#include "app/win32/main_window.h"

void MainWindow::Post(std::function<void()> call, unsigned delayMilliseconds) {
  auto carried = std::make_unique<std::function<void()>>(std::move(call));
  if (PostMessageA(hwnd_, kRunPosted, delayMilliseconds, reinterpret_cast<LPARAM>(carried.get())))
    carried.release();  // the message owns it now
}

void MainWindow::RunPosted(WPARAM delay, LPARAM call) {
  std::unique_ptr<std::function<void()>> carried(reinterpret_cast<std::function<void()>*>(call));
  if (delay == 0) {
    (*carried)();
    return;
  }
  // A timer of the window's own: it fires on this thread, also inside a
  // wait that handles the window's messages.
  const UINT_PTR timer = nextPostedTimer_++;
  if (!SetTimer(hwnd_, timer, static_cast<UINT>(delay), nullptr)) {
    (*carried)();  // late is better than never
    return;
  }
  postedLater_.emplace(timer, std::move(*carried));
}

bool MainWindow::RunPostedLater(UINT_PTR timer) {
  const auto found = postedLater_.find(timer);
  if (found == postedLater_.end()) return false;
  KillTimer(hwnd_, timer);
  const std::function<void()> call = std::move(found->second);
  postedLater_.erase(found);
  call();
  return true;
}
