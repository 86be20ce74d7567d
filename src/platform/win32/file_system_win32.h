#pragma once
// Whole-file access through the Win32 file functions.
#include "platform/file_system.h"

class Win32FileSystem final : public FileSystem {
 public:
  FileContent ReadFile(const std::string& path) override;
  FileResult WriteNewFile(const std::string& path, std::string_view bytes) override;
  FileResult ReplaceFile(const std::string& from, const std::string& to) override;
  FileResult OverwriteInPlace(const std::string& path, std::string_view bytes) override;
  bool IsLinked(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  void PauseBeforeRetry(unsigned milliseconds) override;
};
