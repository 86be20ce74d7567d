#pragma once
// Whole-file access. Paths and contents are GBK bytes.
#include <string>
#include <string_view>

enum class ReadStatus { Ok, Missing, Failed };

struct FileContent {
  ReadStatus status = ReadStatus::Missing;
  std::string bytes;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Missing only when the file does not exist; Failed when it exists but
  // cannot be read (locked, no right), so a caller never mistakes it for empty.
  virtual FileContent ReadFile(const std::string& path) = 0;
  // Creates or truncates the file and writes every byte through to the disk.
  virtual bool WriteNewFile(const std::string& path, std::string_view bytes) = 0;
  // Moves `from` over `to` in one step, replacing it. Fails, changing
  // nothing, when `to` is read-only.
  virtual bool ReplaceFile(const std::string& from, const std::string& to) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  virtual bool FileExists(const std::string& path) = 0;
};
