#pragma once
// The Windows services behind the proxy settings, the PAC file, start at
// logon and the update check, with the state that work shares across
// threads. The Win32 program and the tests each wire their own.
#include "platform/connectivity_check.h"
#include "platform/downloader.h"
#include "platform/internet_options.h"
#include "platform/loopback_server.h"
#include "platform/phone_book.h"
#include "platform/random_source.h"
#include "platform/registry.h"
#include "platform/shell_actions.h"
#include "platform/worker_threads.h"
#include "system/system_state.h"
#include "system/user_proxy_snapshot.h"

struct SystemServices {
  SystemServices(Registry& registry, PhoneBook& phoneBook, InternetOptions& internetOptions,
                 Downloader& downloader, ConnectivityCheck& connectivity, ShellActions& shell,
                 LoopbackServer& pacServer, WorkerThreads& workers, RandomSource& random)
      : registry(registry),
        phoneBook(phoneBook),
        internetOptions(internetOptions),
        downloader(downloader),
        connectivity(connectivity),
        shell(shell),
        pacServer(pacServer),
        workers(workers),
        random(random) {}

  Registry& registry;
  PhoneBook& phoneBook;
  InternetOptions& internetOptions;
  Downloader& downloader;
  ConnectivityCheck& connectivity;
  ShellActions& shell;
  LoopbackServer& pacServer;
  WorkerThreads& workers;
  RandomSource& random;
  SystemState state;
  // The user's settings while the program's are in place; window thread only.
  std::optional<UserProxySnapshot> userProxy;
};
