#include "system/user_proxy_snapshot.h"

#include <algorithm>
#include <cctype>

#include "ini/ini_document.h"
#include "shared/gbk_text.h"
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

void PutConnection(IniDocument& doc, std::string_view section, const std::string& prefix,
                   const LanProxySettings& settings) {
  doc.Set(section, prefix + "Flags", std::to_string(settings.flags));
  PutText(doc, section, prefix + "ProxyServer", settings.proxyServer);
  PutText(doc, section, prefix + "Bypass", settings.bypass);
  PutText(doc, section, prefix + "AutoConfigURL", settings.autoConfigUrl);
}

ProxyValues GetValues(const IniDocument& doc, std::string_view section) {
  return {GetNumber(doc, section, "ProxyEnable"), GetText(doc, section, "ProxyServer"),
          GetText(doc, section, "AutoConfigURL")};
}

bool IsDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool HasControlBytes(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

// Reads a saved file, checking each value that may go back into the
// registry and noting the ones that fail.
class SnapshotReader {
 public:
  SnapshotReader(std::string_view bytes, std::vector<std::string>* rejected)
      : doc_(IniDocument::Parse(bytes)), rejected_(rejected) {}

  const IniDocument& Doc() const { return doc_; }

  std::optional<std::string> Text(std::string_view section, const std::string& key, bool (*valid)(std::string_view)) {
    const auto text = GetText(doc_, section, key);
    const bool present = doc_.Get(section, key).has_value();
    if (present && (!text || !valid(*text))) {
      Reject(std::string(section) + "/" + key);
      return std::nullopt;
    }
    return text;
  }

  std::optional<std::uint32_t> Number(std::string_view section, const std::string& key, std::uint32_t max) {
    const auto number = GetNumber(doc_, section, key);
    if (doc_.Get(section, key) && (!number || *number > max)) {
      Reject(std::string(section) + "/" + key);
      return std::nullopt;
    }
    return number;
  }

  ProxyValues Values(std::string_view section) {
    return {Number(section, "ProxyEnable", 1), Text(section, "ProxyServer", IsProxyServerText),
            Text(section, "AutoConfigURL", IsAutoConfigAddress)};
  }

  std::optional<LanProxySettings> Connection(std::string_view section, const std::string& prefix) {
    const auto flags = Number(section, prefix + "Flags", 0x0F);
    if (!flags) return std::nullopt;
    return LanProxySettings{*flags, Text(section, prefix + "ProxyServer", IsProxyServerText).value_or(""),
                            Text(section, prefix + "Bypass", IsSettingText),
                            Text(section, prefix + "AutoConfigURL", IsAutoConfigAddress).value_or("")};
  }

  static bool IsSettingText(std::string_view text) { return !HasControlBytes(text); }
  static bool IsEntryName(std::string_view text) { return !text.empty() && text.size() <= 256 && !HasControlBytes(text); }

 private:
  void Reject(std::string name) {
    if (rejected_) rejected_->push_back(std::move(name));
  }
  IniDocument doc_;
  std::vector<std::string>* rejected_;
};

}  // namespace

bool IsProxyServerText(std::string_view text) {
  if (HasControlBytes(text)) return false;
  int items = 0;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find(';', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view item = text.substr(start, end - start);
    start = end + 1;
    if (item.empty()) continue;
    ++items;
    if (const std::size_t equals = item.find('='); equals != std::string_view::npos) item.remove_prefix(equals + 1);
    const std::size_t colon = item.rfind(':');
    if (colon == std::string_view::npos || colon == 0) return false;
    const std::string_view host = item.substr(0, colon);
    const std::string_view port = item.substr(colon + 1);
    if (!IsDigits(port) || port.size() > 5 || std::stoul(std::string(port)) - 1 >= 65535) return false;
    const bool bracketed = host.front() == '[' && host.back() == ']';
    for (char c : host)
      if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_' ||
            (bracketed && (c == ':' || c == '[' || c == ']'))))
        return false;
  }
  return items > 0;
}

bool IsAutoConfigAddress(std::string_view text) {
  if (HasControlBytes(text) || text.find(' ') != std::string_view::npos) return false;
  const std::string lower = gbk::AsciiLower(std::string(text.substr(0, 8)));
  for (std::string_view scheme : {"http://", "https://", "file://"})
    if (lower.starts_with(scheme) && text.size() > scheme.size()) return true;
  return false;
}

std::string SerializeSnapshot(const UserProxySnapshot& snapshot) {
  IniDocument doc;
  PutValues(doc, "Saved", snapshot.saved);
  PutText(doc, "Saved", "ProxyOverride", snapshot.bypass);
  if (snapshot.lan) PutConnection(doc, "Lan", "", *snapshot.lan);
  doc.Set("Entries", "Count", std::to_string(snapshot.entries.size()));
  for (std::size_t i = 0; i < snapshot.entries.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    PutText(doc, "Entries", "Name" + n, snapshot.entries[i].first);
    if (snapshot.entries[i].second) PutConnection(doc, "Entries", "Entry" + n, *snapshot.entries[i].second);
  }
  PutValues(doc, "Written", snapshot.written);
  if (snapshot.lanWritten) PutConnection(doc, "Written", "Lan", *snapshot.lanWritten);
  return doc.Serialize();
}

std::optional<UserProxySnapshot> ParseSnapshot(std::string_view bytes, std::vector<std::string>* rejected) {
  SnapshotReader reader(bytes, rejected);
  // Written last by this program, so a file cut short has no count.
  if (!reader.Doc().Get("Entries", "Count")) return std::nullopt;
  UserProxySnapshot snapshot;
  snapshot.saved = reader.Values("Saved");
  // Without its server, a proxy switched on would point nowhere.
  if (!snapshot.saved.server && snapshot.saved.enable) snapshot.saved.enable = 0;
  snapshot.bypass = reader.Text("Saved", "ProxyOverride", SnapshotReader::IsSettingText);
  snapshot.lan = reader.Connection("Lan", "");
  // The names present decide, not the count: a count of four billion
  // would otherwise mean four billion look-ups.
  for (const std::string& key : reader.Doc().Keys("Entries")) {
    if (key.size() <= 4 || gbk::AsciiLower(key.substr(0, 4)) != "name" || !IsDigits(key.substr(4))) continue;
    const std::string n = key.substr(4);
    if (auto name = reader.Text("Entries", key, SnapshotReader::IsEntryName))
      snapshot.entries.emplace_back(std::move(*name), reader.Connection("Entries", "Entry" + n));
  }
  snapshot.written = GetValues(reader.Doc(), "Written");
  snapshot.lanWritten = reader.Connection("Written", "Lan");
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
