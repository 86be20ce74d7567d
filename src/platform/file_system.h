#pragma once
// Whole-file access. Paths and contents are GBK bytes.
#include <string>
#include <string_view>
#include <utility>

enum class ReadStatus { Ok, Missing, Failed };

struct FileContent {
  FileContent() = default;
  FileContent(ReadStatus s, std::string b, std::string r, bool held = false)
      : status(s), bytes(std::move(b)), reason(std::move(r)), busy(held) {}
  ReadStatus status = ReadStatus::Missing;
  std::string bytes;
  std::string reason;  // why a read Failed, in the system's words
  // Failed because another program holds the file; a later try may work.
  bool busy = false;
};

// What became of a change to a file. On failure: the file it failed on and
// the system's words for why, ready to be shown to the user.
struct FileResult {
  FileResult() = default;
  FileResult(bool succeeded, bool held, std::string onFile, std::string why)
      : ok(succeeded), busy(held), file(std::move(onFile)), reason(std::move(why)) {}
  bool ok = true;
  // Another program holds the file (a sharing or lock violation); a later
  // try may work.
  bool busy = false;
  std::string file;
  std::string reason;
  // The file was changed part of the way before the failure, so it is no
  // longer whole.
  bool partial = false;
  // Where a complete copy of the content that failed to land was kept.
  std::string copy;
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
  // Moves `from` over `to` in one step, replacing it; an existing `to`
  // keeps its security, attributes and streams. Fails, changing nothing,
  // when `to` is read-only or another program holds it open.
  virtual FileResult ReplaceFile(const std::string& from, const std::string& to) = 0;
  // Writes the whole content into the existing file from its start, sharing
  // it with the programs that hold it open, then cuts off what was longer
  // and flushes it to the disk. Fails when the file is read-only or held
  // without write sharing; a failure after the first change says `partial`.
  virtual FileResult OverwriteInPlace(const std::string& path, std::string_view bytes) = 0;
  // A symbolic link or other reparse point, or a file with more than one
  // hard link: replacing it would cut it off from the other names.
  virtual bool IsLinked(const std::string& path) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // A moment for another program to let go of a file before the next try.
  virtual void PauseBeforeRetry(unsigned milliseconds) = 0;
};
