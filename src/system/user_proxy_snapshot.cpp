#include "system/user_proxy_snapshot.h"

#include "ini/ini_document.h"
#include "shared/hex_text.h"
#include "system/proxy_ownership.h"

namespace {

void PutText(IniDocument& doc, std::string_view section, std::string_view key, const std::optional<std::string>& text) {
  if (text) doc.Set(section, key, HexOf(*text));
}

std::optional<std::string> GetText(const IniDocument& doc, std::string_view section, std::string_view key) {
  const auto hex = doc.Get(section, key);
  return hex ? BytesOfHex(*hex) : std::nullopt;
}

std::optional<std::uint32_t> GetNumber(const IniDocument& doc, std::string_view section, std::string_view key) {
  const auto text = doc.Get(section, key);
  if (!text || text->empty() || text->size() > 10) return std::nullopt;
  std::uint64_t number = 0;
  for (char c : *text) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (number > 0xFFFFFFFFu) return std::nullopt;
  return static_cast<std::uint32_t>(number);
}

void PutValues(IniDocument& doc, std::string_view section, const ProxyValues& values) {
  if (values.enable) doc.Set(section, "ProxyEnable", std::to_string(*values.enable));
  PutText(doc, section, "ProxyServer", values.server);
  PutText(doc, section, "AutoConfigURL", values.autoConfigUrl);
}

ProxyValues GetValues(const IniDocument& doc, std::string_view section) {
  return {GetNumber(doc, section, "ProxyEnable"), GetText(doc, section, "ProxyServer"),
          GetText(doc, section, "AutoConfigURL")};
}

}  // namespace

std::string SerializeSnapshot(const UserProxySnapshot& snapshot) {
  IniDocument doc;
  PutValues(doc, "Saved", snapshot.saved);
  PutText(doc, "Saved", "ProxyOverride", snapshot.bypass);
  if (snapshot.lan) {
    doc.Set("Lan", "Flags", std::to_string(snapshot.lan->flags));
    PutText(doc, "Lan", "ProxyServer", snapshot.lan->proxyServer);
    PutText(doc, "Lan", "Bypass", snapshot.lan->bypass);
    PutText(doc, "Lan", "AutoConfigURL", snapshot.lan->autoConfigUrl);
  }
  doc.Set("Entries", "Count", std::to_string(snapshot.entries.size()));
  for (std::size_t i = 0; i < snapshot.entries.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    PutText(doc, "Entries", "Name" + n, snapshot.entries[i].first);
    PutText(doc, "Entries", "Record" + n, snapshot.entries[i].second);
  }
  PutValues(doc, "Written", snapshot.written);
  return doc.Serialize();
}

std::optional<UserProxySnapshot> ParseSnapshot(std::string_view bytes) {
  const IniDocument doc = IniDocument::Parse(bytes);
  const auto count = GetNumber(doc, "Entries", "Count");
  if (!count) return std::nullopt;  // not written whole by this program
  UserProxySnapshot snapshot;
  snapshot.saved = GetValues(doc, "Saved");
  snapshot.bypass = GetText(doc, "Saved", "ProxyOverride");
  if (const auto flags = GetNumber(doc, "Lan", "Flags")) {
    snapshot.lan = LanProxySettings{*flags, GetText(doc, "Lan", "ProxyServer").value_or(""),
                                    GetText(doc, "Lan", "Bypass"), GetText(doc, "Lan", "AutoConfigURL").value_or("")};
  }
  for (std::uint32_t i = 1; i <= *count; ++i) {
    const std::string n = std::to_string(i);
    if (auto name = GetText(doc, "Entries", "Name" + n))
      snapshot.entries.emplace_back(std::move(*name), GetText(doc, "Entries", "Record" + n));
  }
  snapshot.written = GetValues(doc, "Written");
  return snapshot;
}

OwnValues OwnValuesOf(const ProxyValues& current, const ProxyValues* written, std::string_view localPort,
                      std::string_view engineDirectory) {
  OwnValues own;
  const std::uint32_t enable = current.enable.value_or(0);
  own.proxy = IsOwnProxyServer(enable, current.server.value_or(""), localPort) ||
              (written && enable == written->enable.value_or(0) && current.server == written->server);
  own.autoConfig = IsOwnPacAddress(current.autoConfigUrl.value_or(""), engineDirectory) ||
                   (written && current.autoConfigUrl == written->autoConfigUrl);
  return own;
}

ProxyValues WithoutOwnValues(const ProxyValues& current, OwnValues own) {
  ProxyValues values = current;
  if (own.proxy) {
    values.enable = 0;
    values.server.reset();
  }
  if (own.autoConfig) values.autoConfigUrl.reset();
  return values;
}

LanProxySettings WithoutOwnValues(LanProxySettings lan, OwnValues own) {
  if (own.proxy) {
    lan.flags &= ~LanProxySettings::kProxy;
    lan.proxyServer.clear();
  }
  if (own.autoConfig) {
    lan.flags &= ~LanProxySettings::kAutoConfigUrl;
    lan.autoConfigUrl.clear();
  }
  return lan;
}

LanProxySettings LanViewOf(const ProxyValues& values) {
  LanProxySettings lan;
  if (values.enable.value_or(0) == 1 && values.server && !values.server->empty()) {
    lan.flags |= LanProxySettings::kProxy;
    lan.proxyServer = *values.server;
  }
  if (values.autoConfigUrl && !values.autoConfigUrl->empty()) {
    lan.flags |= LanProxySettings::kAutoConfigUrl;
    lan.autoConfigUrl = *values.autoConfigUrl;
  }
  return lan;
}
