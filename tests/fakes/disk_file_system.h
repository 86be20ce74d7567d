#pragma once
// The real disk, with Windows' rules where tests need them: "\" separates
// folders, a read-only file or a folder cannot be replaced or written, and
// a file can be made unreadable, held by another program or the disk full
// (the tests run as root, who reads anything). Each step follows the Win32
// implementation's order, so a write refused half-way leaves what it would.
#include <map>
#include <optional>
#include <set>
#include <string>

#include "platform/file_system.h"

class DiskFileSystem : public FileSystem {
 public:
  std::set<std::string> unreadable;  // paths as the program names them
  // Held open by another program with read and write sharing, as editors
  // and sync tools do: it can be written in place, not replaced.
  std::set<std::string> heldShared;
  // Held without write sharing for this many milliseconds more, as a virus
  // scan does; pauses count the time down.
  std::map<std::string, unsigned> heldAlone;
  // Held without any sharing, as sync and backup tools do at logon: not even
  // a read gets in while the time lasts.
  std::map<std::string, unsigned> heldExclusive;
  // A full disk refuses new files (after what fits) and growing files.
  bool diskFull = false;
  // A folder where existing files may be written but none created, as a
  // per-file grant in Program Files leaves it.
  bool folderDeniesCreate = false;
  // An in-place write refused after this many bytes (a lock on a range, a
  // share that drops), when the content is longer.
  std::optional<std::size_t> inPlaceRefusedAfter;
  unsigned replaced = 0;  // files replaced whole, in all
  unsigned paused = 0;  // milliseconds of pauses before retries, in all

  FileContent ReadFile(const std::string& path) override;
  FileResult WriteNewFile(const std::string& path, std::string_view bytes) override;
  FileResult ReplaceFile(const std::string& from, const std::string& to) override;
  FileResult OverwriteInPlace(const std::string& path, std::string_view bytes) override;
  bool IsLinked(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  void PauseBeforeRetry(unsigned milliseconds) override;

  static std::string HostPath(const std::string& path);

 private:
  bool HeldAlone(const std::string& path) const;
  bool HeldExclusive(const std::string& path) const;
};
