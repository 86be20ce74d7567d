#pragma once
// The registry through the advapi32 functions. Each build reaches the keys
// in its own registry view: the 32-bit program's Run value lands where
// Windows puts a 32-bit program's (WOW6432Node), the 64-bit build's in the
// native key; Windows runs both at logon.
#include "platform/registry.h"

class Win32Registry final : public Registry {
 public:
  bool SetString(RegistryRoot root, const std::string& key, const std::string& name,
                 std::string_view value) override;
  bool SetNumber(RegistryRoot root, const std::string& key, const std::string& name,
                 std::uint32_t value) override;
  bool SetBinary(RegistryRoot root, const std::string& key, const std::string& name,
                 std::string_view bytes) override;
  bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) override;
  bool ValueExists(RegistryRoot root, const std::string& key, const std::string& name) override;
  std::optional<RegistryValue> Read(RegistryRoot root, const std::string& key, const std::string& name) override;
};
