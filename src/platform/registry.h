#pragma once
// The parts of the Windows registry the program writes: the per-user
// Internet settings and the machine-wide Run key. Texts are GBK bytes.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class RegistryRoot { CurrentUser, LocalMachine };

struct RegistryValue {
  enum class Type { String, Number, Binary };
  Type type = Type::String;
  std::string bytes;  // String (without its terminator) and Binary
  std::uint32_t number = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;

  // Each opens the key for writing, creating it when it is missing, and
  // writes one value; true when the value was written.
  virtual bool SetString(RegistryRoot root, const std::string& key, const std::string& name,
                         std::string_view value) = 0;
  virtual bool SetNumber(RegistryRoot root, const std::string& key, const std::string& name,
                         std::uint32_t value) = 0;
  virtual bool SetBinary(RegistryRoot root, const std::string& key, const std::string& name,
                         std::string_view bytes) = 0;
  // Opens the key for writing and deletes the value. A value that is not
  // there is not an error.
  virtual bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) = 0;
  // Opens the key for reading and queries the value.
  virtual bool ValueExists(RegistryRoot root, const std::string& key, const std::string& name) = 0;
  // The value as it is now; nothing when it is missing, cannot be read or
  // is of another type than these three.
  virtual std::optional<RegistryValue> Read(RegistryRoot root, const std::string& key, const std::string& name) = 0;
};
