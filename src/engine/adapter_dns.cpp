#include "engine/adapter_dns.h"

#include "context/app_context.h"
#include "shared/command_line_quoting.h"
#include "platform/engine_services.h"

namespace {
constexpr std::string_view kNetsh = "netsh.exe";
}

std::string StaticDnsArguments(std::string_view connectionName, std::string_view dnsServer, unsigned codePage) {
  return "interface ip set dns " + QuoteArgument(connectionName, codePage) + " static " +
         QuoteArgumentIfNeeded(dnsServer, codePage);
}

std::string DhcpDnsArguments(std::string_view connectionName, unsigned codePage) {
  return "interface ipv4 set dns " + QuoteArgument(connectionName, codePage) + " dhcp";
}

std::string TrimNetshOutput(std::string output) {
  const std::size_t last = output.rfind("\r\n");
  if (last == std::string::npos) return output;
  const std::size_t found = output.find("\r\n", last >= 2 ? last - 2 : 0);
  output.erase(found, 2);
  return output;
}

bool NetshSucceeded(const CapturedRun& run) {
  return run.exitCode == 0u || run.output.find("确定") != std::string::npos;
}

namespace {

DnsRestoreResult RunNetsh(CommandRunner& commands, const std::string& arguments) {
  const CapturedRun run = commands.RunSystemProgramCaptured(kNetsh, arguments);
  if (NetshSucceeded(run)) return {true, ""};
  return {false, TrimNetshOutput(run.output)};
}

}  // namespace

DnsRestoreResult RestoreAdapterDns(CommandRunner& commands, std::string_view connectionName,
                                   std::string_view dnsServer, unsigned codePage) {
  return RunNetsh(commands, StaticDnsArguments(connectionName, dnsServer, codePage));
}

void RestoreVpnDns(AppContext& app, bool report) {
  const RunState& run = app.run;
  CommandRunner& commands = app.engine->commands;
  const unsigned codePage = app.engine->codePage.Current();
  const DnsRestoreResult result = run.vpnSavedDns == run.vpnGateway
                                      ? RunNetsh(commands, DhcpDnsArguments(run.vpnConnectionName, codePage))
                                      : RestoreAdapterDns(commands, run.vpnConnectionName, run.vpnSavedDns, codePage);
  if (!result.succeeded && report)
    app.form.ShowMessage("修改DNS为初始值失败（网卡名称：" + run.vpnConnectionName + "，网卡DNS：" + run.vpnSavedDns +
                             "，错误信息：" + result.error + "）！",
                         "");
}
