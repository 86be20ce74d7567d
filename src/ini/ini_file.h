#pragma once
// config.ini on disk. Every change is one read of the current file and one
// write of a whole new copy that replaces the old one in a single step: a
// crash or a full disk leaves the old file or the new one, never half of
// one, and keys written by someone else in between survive.
#include <functional>
#include <string>
#include <string_view>

#include "ini/ini_document.h"

class FileSystem;

class IniFile {
 public:
  explicit IniFile(FileSystem& files) : files_(files) {}

  void SetPath(std::string path) { path_ = std::move(path); }
  const std::string& Path() const { return path_; }

  // The file as it is now; empty when it is missing or cannot be read.
  IniDocument Load() const;
  std::string Read(std::string_view section, std::string_view key, std::string_view fallback) const;

  // Each returns false, leaving the file as it was, when it cannot be read
  // or the new copy cannot be put in place.
  bool Write(std::string_view section, std::string_view key, std::string_view value);
  bool DeleteSection(std::string_view section);
  // Many changes in one read and one write.
  bool Update(const std::function<void(IniDocument&)>& change);

 private:
  FileSystem& files_;
  std::string path_;
};
