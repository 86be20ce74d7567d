#include "platform/win32/network_adapters_win32.h"

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include "platform/win32/registry_read_win32.h"

namespace {

// IP Helper records hold pointers and 64-bit fields: the buffers are made of
// 8-byte units so the records are aligned.
using Buffer = std::vector<unsigned long long>;

Buffer BufferOf(ULONG bytes) { return Buffer((bytes + sizeof(unsigned long long) - 1) / sizeof(unsigned long long)); }

// The name the user sees in the network connections folder, which netsh
// uses too.
std::string ConnectionName(const char* adapterName) {
  const std::string key = std::string("SYSTEM\\CurrentControlSet\\Control\\Network\\"
                                      "{4D36E972-E325-11CE-BFC1-08002BE10318}\\") +
                          adapterName + "\\Connection";
  return ReadRegistryString(HKEY_LOCAL_MACHINE, key, "Name").value_or("");
}

std::string PreferredDns(DWORD adapterIndex) {
  ULONG size = 0;
  GetPerAdapterInfo(adapterIndex, nullptr, &size);
  if (size == 0) return {};
  Buffer buffer = BufferOf(size);
  auto* info = reinterpret_cast<IP_PER_ADAPTER_INFO*>(buffer.data());
  if (GetPerAdapterInfo(adapterIndex, info, &size) != ERROR_SUCCESS) return {};
  return info->DnsServerList.IpAddress.String;
}

}  // namespace

std::vector<NetworkAdapter> Win32NetworkAdapters::List() {
  std::vector<NetworkAdapter> adapters;
  ULONG size = 0;
  GetAdaptersInfo(nullptr, &size);
  if (size == 0) return adapters;
  Buffer buffer = BufferOf(size);
  auto* first = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data());
  if (GetAdaptersInfo(first, &size) != ERROR_SUCCESS) return adapters;
  for (const IP_ADAPTER_INFO* adapter = first; adapter; adapter = adapter->Next)
    adapters.push_back({adapter->Description, ConnectionName(adapter->AdapterName),
                        adapter->GatewayList.IpAddress.String, PreferredDns(adapter->Index)});
  return adapters;
}
