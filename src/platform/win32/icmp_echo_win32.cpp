#include "platform/win32/icmp_echo_win32.h"

#include <winsock2.h>
#include <windows.h>
#include <ipexport.h>

#include "platform/win32/system_library_win32.h"

namespace {

using IcmpCreateFileFn = HANDLE(WINAPI*)();
using IcmpSendEchoFn = DWORD(WINAPI*)(HANDLE, IPAddr, LPVOID, WORD, PIP_OPTION_INFORMATION, LPVOID, DWORD, DWORD);
using IcmpCloseHandleFn = BOOL(WINAPI*)(HANDLE);

constexpr int kNoAnswer = -1;

// Windows Sockets 1.1 and the library, once per process. Both stay: the
// system releases them when the process ends.
struct IcmpLibrary {
  HMODULE module = nullptr;
  IcmpLibrary() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(1, 1), &data) == 0) module = LoadSystemLibrary("icmp.dll");
  }
};

template <class Fn>
Fn Function(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// A dotted address as it is, else the first address of the name; nothing
// when neither works.
bool ResolveAddress(const std::string& text, IPAddr& address) {
  const unsigned long dotted = inet_addr(text.c_str());
  if (dotted != INADDR_NONE) {
    address = dotted;
    return true;
  }
  const hostent* host = gethostbyname(text.c_str());
  if (!host || host->h_addrtype != AF_INET || !host->h_addr_list || !host->h_addr_list[0]) return false;
  address = *reinterpret_cast<const IPAddr*>(host->h_addr_list[0]);
  return true;
}

}  // namespace

int Win32IcmpEcho::PingHost(const std::string& address, int timeoutMs) {
  static const IcmpLibrary library;
  if (!library.module) return kNoAnswer;
  const auto create = Function<IcmpCreateFileFn>(library.module, "IcmpCreateFile");
  const auto send = Function<IcmpSendEchoFn>(library.module, "IcmpSendEcho");
  const auto close = Function<IcmpCloseHandleFn>(library.module, "IcmpCloseHandle");
  if (!create || !send || !close) return kNoAnswer;

  IPAddr target = 0;
  if (!ResolveAddress(address, target)) return kNoAnswer;

  HANDLE icmp = create();
  if (icmp == INVALID_HANDLE_VALUE) return kNoAnswer;
  // One reply record and room for an ICMP error message, no request data.
  alignas(ICMP_ECHO_REPLY) unsigned char reply[sizeof(ICMP_ECHO_REPLY) + 8] = {};
  const DWORD replies = send(icmp, target, nullptr, 0, nullptr, reply, sizeof reply,
                             static_cast<DWORD>(timeoutMs > 0 ? timeoutMs : 0));
  close(icmp);
  const auto* first = reinterpret_cast<const ICMP_ECHO_REPLY*>(reply);
  return RoundTripOfReply(replies, replies ? first->Status : 0, replies ? first->RoundTripTime : 0);
}
