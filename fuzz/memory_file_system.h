#pragma once
// Files in memory, so that a fuzzer iteration that saves config.ini a
// hundred times touches no disk.
#include <map>
#include <string>

#include "platform/file_system.h"

class MemoryFileSystem : public FileSystem {
 public:
  std::map<std::string, std::string> files;

  FileContent ReadFile(const std::string& path) override {
    auto it = files.find(path);
    if (it == files.end()) return {ReadStatus::Missing, {}, {}};
    return {ReadStatus::Ok, it->second, {}};
  }
  FileResult WriteNewFile(const std::string& path, std::string_view bytes) override {
    files[path] = std::string(bytes);
    return {};
  }
  FileResult ReplaceFile(const std::string& from, const std::string& to) override {
    auto it = files.find(from);
    if (it == files.end()) return {false, false, from, "missing"};
    files[to] = std::move(it->second);
    files.erase(from);
    return {};
  }
  FileResult OverwriteInPlace(const std::string& path, std::string_view bytes) override {
    if (!files.count(path)) return {false, false, path, "missing"};
    files[path] = std::string(bytes);
    return {};
  }
  bool IsLinked(const std::string&) override { return false; }
  bool RemoveFile(const std::string& path) override { return files.erase(path) != 0; }
  bool FileExists(const std::string& path) override { return files.count(path) != 0; }
  void PauseBeforeRetry(unsigned) override {}
};
