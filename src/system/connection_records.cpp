#include "system/connection_records.h"

namespace {

constexpr std::uint32_t kAutoConfigVersion = 0x46;
constexpr std::uint32_t kProxyVersion = 0x3C;
constexpr std::uint32_t kFlagDirect = 0x01;
constexpr std::uint32_t kFlagProxy = 0x02;
constexpr std::uint32_t kFlagAutoConfigUrl = 0x04;

void AppendNumber(std::string& record, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) record.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void AppendText(std::string& record, std::string_view text) {
  AppendNumber(record, static_cast<std::uint32_t>(text.size()));
  record.append(text);
}

}  // namespace

std::string AutoConfigRecord(std::uint32_t counter, std::string_view address) {
  std::string record;
  AppendNumber(record, kAutoConfigVersion);
  AppendNumber(record, counter);
  AppendNumber(record, address.empty() ? kFlagDirect : kFlagDirect | kFlagAutoConfigUrl);
  AppendText(record, "");  // proxy server
  AppendText(record, "");  // bypass list
  AppendText(record, address);
  record.append(32, '\0');
  return record;
}

std::string ProxyRecord(std::string_view server) {
  std::string record;
  AppendNumber(record, kProxyVersion);
  AppendNumber(record, 1);
  AppendNumber(record, kFlagDirect | kFlagProxy);
  AppendText(record, server);
  record.append(36, '\0');
  return record;
}
