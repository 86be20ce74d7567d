#pragma once
// Fakes of the services behind proxy settings, the PAC file, start at logon
// and the update check, wired together as the program wires the real ones.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "system/system_services.h"

// Values in memory. Key and value names ignore ASCII case, as Windows' do.
class FakeRegistry : public Registry {
 public:
  using Type = RegistryValue::Type;
  using Value = RegistryValue;

  // Keys the user has no right to change, as "HKLM\<key>" or "HKCU\<key>":
  // writes and deletes there fail and change nothing.
  std::set<std::string> lockedKeys;

  bool SetString(RegistryRoot root, const std::string& key, const std::string& name,
                 std::string_view value) override;
  bool SetNumber(RegistryRoot root, const std::string& key, const std::string& name,
                 std::uint32_t value) override;
  bool SetBinary(RegistryRoot root, const std::string& key, const std::string& name,
                 std::string_view bytes) override;
  bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) override;
  bool ValueExists(RegistryRoot root, const std::string& key, const std::string& name) override;
  std::optional<Value> Read(RegistryRoot root, const std::string& key, const std::string& name) override {
    return Get(root, key, name);
  }

  // Test access, no rights checked.
  std::optional<Value> Get(RegistryRoot root, const std::string& key, const std::string& name) const;
  void Put(RegistryRoot root, const std::string& key, const std::string& name, Value value);
  std::size_t Count() const { return values_.size(); }

 private:
  using Name = std::tuple<RegistryRoot, std::string, std::string>;
  static Name NameOf(RegistryRoot root, const std::string& key, const std::string& name);
  bool Locked(RegistryRoot root, const std::string& key) const;
  bool Set(RegistryRoot root, const std::string& key, const std::string& name, Value value);
  std::map<Name, Value> values_;
};

class FakePhoneBook : public PhoneBook {
 public:
  std::vector<std::string> entries;
  std::vector<std::string> EntryNames() override { return entries; }
};

// WinINet's per-connection view, each connection kept as it was last set.
// (Real WinINet derives the LAN's from the registry; the tests set it.)
class FakeInternetOptions : public InternetOptions {
 public:
  // "lan connection", "connection <entry>", "settings changed", "refresh".
  std::vector<std::string> calls;
  std::optional<LanProxySettings> lan;
  std::map<std::string, LanProxySettings> entries;
  // Calls, named as in `calls`, that WinINet refuses.
  std::set<std::string> refused;
  // Set: the LAN reads back as this whatever is set, as under a
  // machine-wide setting.
  std::optional<LanProxySettings> enforced;
  // False: as Wine, which keeps nothing of the per-connection call.
  bool keeps = true;

  bool SettingsChanged() override { return Call("settings changed"); }
  bool Refresh() override { return Call("refresh"); }
  bool SetConnection(const std::string& entry, const LanProxySettings& settings) override {
    if (!Call(entry.empty() ? "lan connection" : "connection " + entry)) return false;
    if (entry.empty())
      lan = settings;
    else
      entries[entry] = settings;
    return true;
  }
  std::optional<LanProxySettings> QueryConnection(const std::string& entry) override {
    if (!entry.empty()) {
      const auto found = entries.find(entry);
      return found == entries.end() ? std::nullopt : std::optional(found->second);
    }
    return enforced ? enforced : lan;
  }
  bool KeepsConnectionSettings() override { return keeps; }

 private:
  bool Call(const std::string& name) {
    calls.push_back(name);
    return refused.count(name) == 0;
  }
};

// Counts up from 0 byte by byte, so a test knows every token in advance.
class FakeRandomSource : public RandomSource {
 public:
  bool fails = false;
  std::string Bytes(std::size_t count) override {
    std::string bytes;
    for (std::size_t i = 0; i < count && !fails; ++i) bytes.push_back(static_cast<char>(next_++));
    return bytes;
  }

 private:
  unsigned char next_ = 0;
};

// Answers by URL: `answers` as given, `bodies` with status 200, any other
// URL with no answer. A body past the limit is cut off there, as WinINet's
// reads stop; a URL in `throws` makes the download throw.
class FakeDownloader : public Downloader {
 public:
  std::map<std::string, std::string> bodies;
  std::map<std::string, DownloadAnswer> answers;
  std::set<std::string> throws;
  std::vector<std::string> requested;
  DownloadAnswer Get(const std::string& url, std::size_t limit) override;
};

class FakeConnectivityCheck : public ConnectivityCheck {
 public:
  bool online = true;
  int checks = 0;
  bool Online() override {
    ++checks;
    return online;
  }
};

class FakeShellActions : public ShellActions {
 public:
  std::vector<std::string> opened;    // addresses
  std::vector<std::string> launched;  // command lines
  void OpenAddress(const std::string& address) override { opened.push_back(address); }
  void Launch(const std::string& commandLine) override { launched.push_back(commandLine); }
};

// Listens nowhere: a test sends request heads straight to the handler.
class FakeLoopbackServer : public LoopbackServer {
 public:
  int port = 50123;  // 0: cannot listen
  int listenCalls = 0;
  int Listen(Handler handler) override;
  std::string Request(std::string_view head) const { return handler_ ? handler_(head) : std::string(); }
  bool Listening() const { return static_cast<bool>(handler_); }

 private:
  Handler handler_;
};

// Work waits until the test runs it, so a test sees what happens before
// and after a worker finishes.
class FakeWorkerThreads : public WorkerThreads {
 public:
  int started = 0;
  bool noThreads = false;         // the system gives no thread, as when out of handles
  std::function<void()> onStart;  // looks at the program as a start finds it
  void Start(std::function<void()> work, std::function<void()> failed) override {
    ++started;
    if (onStart) onStart();
    StartWorkerJob(
        [this](std::function<void()> body) {
          if (noThreads) return false;
          pending_.push_back(std::move(body));
          return true;
        },
        std::move(work), std::move(failed));
  }
  std::size_t Pending() const { return pending_.size(); }
  // Runs the waiting work, and any work it starts, until none is left.
  void RunAll();

 private:
  std::vector<std::function<void()>> pending_;
};

struct FakeSystem {
  FakeRegistry registry;
  FakePhoneBook phoneBook;
  FakeInternetOptions internetOptions;
  FakeDownloader downloader;
  FakeConnectivityCheck connectivity;
  FakeShellActions shell;
  FakeLoopbackServer pacServer;
  FakeWorkerThreads workers;
  FakeRandomSource random;
  SystemServices services{registry, phoneBook, internetOptions, downloader,
                          connectivity, shell, pacServer, workers, random};
};
