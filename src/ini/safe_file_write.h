#pragma once
// A whole new content for a file, put in place so that it lands or says why.
// The content goes to "<file>.new" first and then replaces the file in one
// step, so a crash or a full disk leaves the old file or the new one. A file
// another program holds open (antivirus, backup and sync tools, an editor)
// cannot be replaced; it is then written in place as Windows' own profile
// writer does. Before that write the new content is kept whole beside the
// file, in "<file>.complete", until the write is on disk: a write refused
// half-way leaves that copy, and the next start puts it back.
#include <string>
#include <string_view>

#include "platform/file_system.h"

std::string TemporaryCopyPath(const std::string& path);
std::string CompleteCopyPath(const std::string& path);

// The pauses a file held by another program is given before each new try:
// 50, 100, ... ms, 750 ms at most in all.
class RetryPatience {
 public:
  explicit RetryPatience(bool patient) : patient_(patient) {}
  // Pauses and says true while another try is worth it.
  bool PauseBeforeNextTry(FileSystem& files);

 private:
  bool patient_;
  unsigned waited_ = 0;
  unsigned pause_ = 50;
};

// `patient`: a file held without write sharing is tried again for under a
// second in all; otherwise every step is tried once. `fileIsWhole` false:
// the file was cut before, so a complete copy is kept whatever the failure.
FileResult SafeFileWrite(FileSystem& files, const std::string& path, std::string_view bytes, bool patient,
                         bool fileIsWhole = true);
