#pragma once
// Whole-file access. Paths and contents are GBK bytes.
#include <string>
#include <string_view>

enum class ReadStatus { Ok, Missing, Failed };

struct FileContent {
  ReadStatus status = ReadStatus::Missing;
  std::string bytes;
  std::string reason;  // why a read Failed, in the system's words
};

// What became of a change to a file. On failure: the file it failed on and
// the system's words for why, ready to be shown to the user.
struct FileResult {
  bool ok = true;
  // Another program holds the file (a sharing or lock violation); a later
  // try may work.
  bool busy = false;
  std::string file;
  std::string reason;
  explicit operator bool() const { return ok; }
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Missing only when the file does not exist; Failed when it exists but
  // cannot be read (locked, no right), so a caller never mistakes it for empty.
  virtual FileContent ReadFile(const std::string& path) = 0;
  // Creates or truncates the file and writes every byte through to the disk.
  virtual FileResult WriteNewFile(const std::string& path, std::string_view bytes) = 0;
  // Moves `from` over `to` in one step, replacing it. Fails, changing
  // nothing, when `to` is read-only or another program holds it open.
  virtual FileResult ReplaceFile(const std::string& from, const std::string& to) = 0;
  // Writes the whole content into the existing file, sharing it with the
  // programs that hold it open, cuts off what was longer and flushes it to
  // the disk. Fails when the file is read-only or held without write sharing.
  virtual FileResult OverwriteInPlace(const std::string& path, std::string_view bytes) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // A moment for another program to let go of a file before the next try.
  virtual void PauseBeforeRetry(unsigned milliseconds) = 0;
};
