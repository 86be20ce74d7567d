#include "ini/safe_file_write.h"

namespace {

// Pauses of 50, 100, ... ms, 750 ms at most in all.
constexpr unsigned kPauseStep = 50;
constexpr unsigned kPatience = 750;

}  // namespace

std::string TemporaryCopyPath(const std::string& path) { return path + ".new"; }

FileResult SafeFileWrite(FileSystem& files, const std::string& path, std::string_view bytes, bool patient) {
  const std::string temp = TemporaryCopyPath(path);
  if (FileResult written = files.WriteNewFile(temp, bytes); !written) {
    files.RemoveFile(temp);
    return written;
  }
  FileResult result;
  for (unsigned waited = 0, pause = kPauseStep;; waited += pause, pause += kPauseStep) {
    FileResult replaced = files.ReplaceFile(temp, path);
    if (replaced) return replaced;
    result = files.OverwriteInPlace(path, bytes);
    if (result) break;
    // Without a file to write into, the refused replace tells the reason.
    if (!files.FileExists(path)) result = replaced;
    if (!patient || !result.busy || waited + pause > kPatience) break;
    files.PauseBeforeRetry(pause);
  }
  files.RemoveFile(temp);
  return result;
}
