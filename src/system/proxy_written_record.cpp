#include "system/proxy_written_record.h"

namespace {

const std::string kKey = "Software\\Corvane\\Proxy";
constexpr auto kUser = RegistryRoot::CurrentUser;

std::optional<std::string> Recorded(Registry& registry, const std::string& name) {
  const auto value = registry.Read(kUser, kKey, name);
  if (!value || value->type != RegistryValue::Type::String || value->bytes.empty()) return std::nullopt;
  return value->bytes;
}

}  // namespace

void RecordWrittenValues(Registry& registry, const ProxyValues& written) {
  if (written.server && written.enable.value_or(0) == 1) registry.SetString(kUser, kKey, "ProxyServer", *written.server);
  if (written.autoConfigUrl) registry.SetString(kUser, kKey, "AutoConfigURL", *written.autoConfigUrl);
}

OwnValues WrittenByAnyCopy(Registry& registry, const ProxyValues& current) {
  OwnValues own;
  const auto server = Recorded(registry, "ProxyServer");
  own.proxy = server && current.enable.value_or(0) == 1 && current.server == server;
  const auto address = Recorded(registry, "AutoConfigURL");
  own.autoConfig = address && current.autoConfigUrl == address;
  return own;
}

void ForgetWrittenValues(Registry& registry, OwnValues givenBack) {
  if (givenBack.proxy) registry.DeleteValue(kUser, kKey, "ProxyServer");
  if (givenBack.autoConfig) registry.DeleteValue(kUser, kKey, "AutoConfigURL");
}
