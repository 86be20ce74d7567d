#pragma once
// config.ini on disk. Every change is one read of the current file and one
// write of a whole new copy (see safe_file_write.h), so keys written by
// someone else in between survive. The file may be GBK, or UTF-8 or UTF-16
// with a byte-order mark; it keeps its encoding.
#include <functional>
#include <string>
#include <string_view>

#include "ini/ini_document.h"
#include "platform/file_system.h"

class IniFile {
 public:
  explicit IniFile(FileSystem& files) : files_(files) {}

  void SetPath(std::string path) { path_ = std::move(path); }
  const std::string& Path() const { return path_; }

  // The file as it is now; empty when it is missing or cannot be read.
  IniDocument Load() const;
  // The first read, at start. The temporary copy of a save that was killed
  // goes; the complete copy of a write in place that did not land is put
  // back where the file differs from it. A file held by another program is given the
  // patience of a save. When it still cannot be read, `reason` says why,
  // and no change writes the file from then on: the program knows nothing
  // of what it holds, and a save would put defaults over it.
  IniDocument LoadAtStart(std::string* reason);
  bool Unread() const { return !unreadReason_.empty(); }
  std::string Read(std::string_view section, std::string_view key, std::string_view fallback) const;

  // Each leaves the file as it was when it cannot be read or the new
  // content cannot be put in place, and says on which file and why. A
  // change that leaves the content as it is writes nothing.
  FileResult Write(std::string_view section, std::string_view key, std::string_view value);
  FileResult DeleteSection(std::string_view section);
  // Many changes in one read and one write.
  FileResult Update(const std::function<void(IniDocument&)>& change);

  // From now on a file held by another program is tried once, without a
  // pause: the session is ending and nothing may wait.
  void StopWaiting() { patient_ = false; }

 private:
  FileSystem& files_;
  std::string path_;
  void RecoverInterruptedSave(FileContent& current);

  bool patient_ = true;
  std::string unreadReason_;
};
