#pragma once
// The Windows services behind share links and diagnostics: the clipboard,
// WinHTTP with the charset decoder, ICMP echo, the tick count, the
// worker threads and TCP connects. The Win32 program and the tests each wire their own.
#include "platform/charset_decoder.h"
#include "platform/clipboard.h"
#include "platform/http_transport.h"
#include "platform/icmp_echo.h"
#include "platform/tcp_connects.h"
#include "platform/tick_clock.h"
#include "platform/worker_threads.h"

struct DiagServices {
  Clipboard& clipboard;
  HttpTransport& http;
  CharsetDecoder& charsets;
  IcmpEcho& icmp;
  TickClock& clock;
  WorkerThreads& workers;
  TcpConnects& tcp;
};
