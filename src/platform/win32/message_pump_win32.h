#pragma once
// The window thread's pending messages, handled from inside a wait so the
// window stays responsive. A WM_QUIT met on the way belongs to the message
// loop: it is kept and posted again when the pump goes away.
#include <windows.h>

class PendingMessagePump {
 public:
  PendingMessagePump() = default;
  ~PendingMessagePump();
  PendingMessagePump(const PendingMessagePump&) = delete;
  PendingMessagePump& operator=(const PendingMessagePump&) = delete;

  // Dispatches every message waiting now; false once a WM_QUIT was taken.
  bool Run();
  bool QuitRequested() const { return quit_; }

 private:
  bool quit_ = false;
  WPARAM exitCode_ = 0;
};
