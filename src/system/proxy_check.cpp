#include "system/proxy_check.h"

namespace {

const std::string kPolicies = "SOFTWARE\\Policies\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr std::uint32_t kGroups = LanProxySettings::kProxy | LanProxySettings::kAutoConfigUrl;

}  // namespace

std::string MachineProxyPolicy(Registry& registry) {
  const auto perUser = registry.Read(RegistryRoot::LocalMachine, kPolicies, "ProxySettingsPerUser");
  if (perUser && perUser->type == RegistryValue::Type::Number && perUser->number == 0)
    return "组策略设置了 ProxySettingsPerUser=0：本机只用计算机的代理设置，不读取当前用户的设置。";
  return "";
}

bool SameProxyGroups(const LanProxySettings& a, const LanProxySettings& b) {
  return (a.flags & kGroups) == (b.flags & kGroups) && a.proxyServer == b.proxyServer &&
         a.autoConfigUrl == b.autoConfigUrl;
}

std::string ReadBackMismatch(const LanProxySettings& set, const std::optional<LanProxySettings>& readBack) {
  if (!readBack) return "无法读回局域网连接的代理设置。";
  if (!SameProxyGroups(set, *readBack))
    return "局域网连接读回的代理设置与写入的不同（可能被策略或其他程序改写）：" +
           (readBack->flags & LanProxySettings::kProxy ? "代理服务器 " + readBack->proxyServer
            : readBack->flags & LanProxySettings::kAutoConfigUrl ? "自动配置脚本 " + readBack->autoConfigUrl
                                                                  : std::string("不使用代理")) + "。";
  return "";
}
