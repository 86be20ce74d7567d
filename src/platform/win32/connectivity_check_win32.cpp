#include "platform/win32/connectivity_check_win32.h"

#include <windows.h>
#include <wininet.h>

#include "platform/win32/internet_handle_win32.h"

bool Win32ConnectivityCheck::Online() {
  DWORD state = 0;
  if (!InternetGetConnectedState(&state, 0)) return false;
  InternetHandle session(InternetOpenA("test", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return false;
  InternetHandle page(InternetOpenUrlA(session.get(), probeAddress_.c_str(), nullptr, 0,
                                       INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0));
  return static_cast<bool>(page);
}
