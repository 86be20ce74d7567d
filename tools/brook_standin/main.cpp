// A stand-in for Brook's command-line client, built as brook.exe. It takes
// the command lines Corvane builds and behaves as Corvane relies on: with
// client or streamclient it listens on the -l address as an HTTP proxy
// (--http) or a SOCKS5 proxy, and connects straight to the destination,
// ignoring -s and -p; with vpn it only stays alive. The raw command line it
// received is written to brook-command-line.txt beside it, for the tests.
//
// Two more files beside it play an engine's troubles for the tests:
// brook-says.txt makes it print that text and exit at once with code 3 (a
// port in use, a bad address); brook-floods.txt, holding a number of
// seconds, makes it print without pause for that long while it serves.
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "proxies.h"
#include "socket_io.h"

namespace {

std::string FileBesideMe(const char* name) {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  const std::string self(path, length);
  return self.substr(0, self.find_last_of('\\') + 1) + name;
}

// The whole file; nothing when it does not exist.
bool ReadBesideMe(const char* name, std::string& text) {
  FILE* in = std::fopen(FileBesideMe(name).c_str(), "rb");
  if (!in) return false;
  char piece[4096];
  for (std::size_t got; (got = std::fread(piece, 1, sizeof piece, in)) > 0;) text.append(piece, got);
  std::fclose(in);
  return true;
}

// Lines as fast as the pipe takes them, for `seconds`.
void Flood(int seconds) {
  const DWORD start = GetTickCount();
  for (unsigned long n = 0; GetTickCount() - start < static_cast<DWORD>(seconds) * 1000; ++n)
    std::fprintf(stdout, "brook: flood line %lu, printed without pause to fill the pipe\n", n);
  std::fflush(stdout);
}

void WriteCommandLineBesideMe() {
  const std::string file = FileBesideMe("brook-command-line.txt");
  if (file.empty()) return;
  if (FILE* out = std::fopen(file.c_str(), "wb")) {
    const char* line = GetCommandLineA();
    std::fwrite(line, 1, std::strlen(line), out);
    std::fclose(out);
  }
}

int Usage() {
  std::fputs("usage: brook client|streamclient -l <address:port> [-i <address>] -s <server> -p <password> [--http]\n"
             "       brook vpn -l <address:port> -s <server> -p <password> --defaultGateway <gateway>\n",
             stderr);
  return 2;
}

// Every connection on a thread of its own, so slow ones never hold up the rest.
int ServeClients(const std::string& listenAddress, bool http) {
  WSADATA winsock;
  if (WSAStartup(MAKEWORD(2, 2), &winsock) != 0) return 1;
  Socket listener = ListenOn(listenAddress);
  if (!listener.Valid()) {
    std::fprintf(stderr, "brook: cannot listen on %s\n", listenAddress.c_str());
    return 1;
  }
  for (;;) {
    SOCKET accepted = accept(listener.Get(), nullptr, nullptr);
    if (accepted == INVALID_SOCKET) continue;
    std::thread([accepted, http] {
      Socket client(accepted);
      if (http)
        ServeHttpProxyClient(client.Get());
      else
        ServeSocks5Client(client.Get());
    }).detach();
  }
}

}  // namespace

int main(int argc, char** argv) {
  WriteCommandLineBesideMe();
  if (std::string says; ReadBesideMe("brook-says.txt", says)) {
    std::fputs(says.c_str(), stderr);
    return 3;
  }
  if (std::string seconds; ReadBesideMe("brook-floods.txt", seconds))
    std::thread(Flood, std::atoi(seconds.c_str())).detach();
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  std::string listenAddress;
  bool http = false;
  for (int i = 2; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--http")
      http = true;
    else if (option == "-l" && i + 1 < argc)
      listenAddress = argv[++i];
  }

  if (command == "vpn") {
    for (;;) Sleep(INFINITE);
  }
  if ((command != "client" && command != "streamclient") || listenAddress.empty()) return Usage();
  return ServeClients(listenAddress, http);
}
