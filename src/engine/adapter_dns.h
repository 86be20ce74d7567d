#pragma once
// Giving a network connection back the DNS server it had before a VPN run,
// through netsh. netsh is started directly, never through the command
// interpreter, and the connection name and DNS server are quoted as single
// arguments: a name with blanks ("Local Area Connection") works, and one
// holding "&" or "%" is only ever a name.
#include <string>
#include <string_view>

class CommandRunner;
struct CapturedRun;
struct AppContext;

struct DnsRestoreResult {
  bool succeeded = false;
  std::string error;  // netsh's output when it failed
};

// The netsh arguments of the two restores, quoted for the ANSI code page.
std::string StaticDnsArguments(std::string_view connectionName, std::string_view dnsServer, unsigned codePage);
std::string DhcpDnsArguments(std::string_view connectionName, unsigned codePage);

// netsh has done it when it exits with 0; older Chinese systems say "确定"
// as well, current ones say nothing on success.
bool NetshSucceeded(const CapturedRun& run);

DnsRestoreResult RestoreAdapterDns(CommandRunner& commands, std::string_view connectionName,
                                   std::string_view dnsServer, unsigned codePage);

// netsh's output ends in line breaks; the error text drops one of them.
std::string TrimNetshOutput(std::string output);

// After a VPN run: the saved DNS back by a static setting, or, when the
// saved DNS equals the gateway, DHCP back. Either waits for netsh; a failed
// restore is shown to the user when `report` is true.
void RestoreVpnDns(AppContext& app, bool report);
