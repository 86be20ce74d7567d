#pragma once
// The Win32 services of share links and diagnostics, wired into one
// DiagServices. Declare it after the AppContext it serves: it is then
// destroyed first, and its destructor lets a running self-check or
// latency test end while the window and the tray icon still exist.
#include "platform/diag_services.h"
#include "platform/win32/charset_decoder_win32.h"
#include "platform/win32/clipboard_win32.h"
#include "platform/win32/icmp_echo_win32.h"
#include "platform/win32/tcp_connects_win32.h"
#include "platform/win32/tick_clock_win32.h"
#include "platform/win32/winhttp_transport_win32.h"
#include "platform/win32/worker_threads_win32.h"

struct Win32Diag {
  explicit Win32Diag(std::uintptr_t window) { clipboard.SetOwner(window); }
  ~Win32Diag() { workers.Finish(); }
  Win32Diag(const Win32Diag&) = delete;
  Win32Diag& operator=(const Win32Diag&) = delete;

  Win32Clipboard clipboard;
  Win32HttpTransport http;
  Win32CharsetDecoder charsets;
  Win32IcmpEcho icmp;
  Win32TickClock clock;
  Win32WorkerThreads workers;
  Win32TcpConnects tcp;
  DiagServices services{clipboard, http, charsets, icmp, clock, workers, tcp};
};
