#pragma once
// The real disk, with Windows' rules where tests need them: "\" separates
// folders, a read-only file cannot be replaced, and a file can be made
// unreadable or the disk full (the tests run as root, who reads anything).
#include <set>
#include <string>

#include "platform/file_system.h"

class DiskFileSystem : public FileSystem {
 public:
  std::set<std::string> unreadable;  // paths as the program names them
  bool diskFull = false;

  FileContent ReadFile(const std::string& path) override;
  bool WriteNewFile(const std::string& path, std::string_view bytes) override;
  bool ReplaceFile(const std::string& from, const std::string& to) override;
  bool RemoveFile(const std::string& path) override;
  bool FileExists(const std::string& path) override;

  static std::string HostPath(const std::string& path);
};
