#include "platform/win32/message_pump_win32.h"

PendingMessagePump::~PendingMessagePump() {
  if (quit_) PostQuitMessage(static_cast<int>(exitCode_));
}

bool PendingMessagePump::Run() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quit_ = true;
      exitCode_ = msg.wParam;
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return !quit_;
}
