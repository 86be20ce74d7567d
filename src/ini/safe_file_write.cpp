#include "ini/safe_file_write.h"

namespace {

constexpr unsigned kPauseStep = 50;
constexpr unsigned kPatience = 750;

// Writes into the file itself, keeping `copy` (the whole content, already
// on disk, if there is one) until that write is. The copy stays after a
// refusal half-way, or whenever the file was not whole before, and the
// failure names it. While another program holds the file without sharing,
// each pause may also end in the file being free to be replaced.
FileResult WriteInPlace(FileSystem& files, const std::string& path, std::string_view bytes, bool patient,
                        const std::string& copy, bool fileIsWhole) {
  RetryPatience patience(patient);
  for (;;) {
    FileResult result = files.OverwriteInPlace(path, bytes);
    if (!result && result.busy && !result.partial && patience.PauseBeforeNextTry(files)) {
      if (!copy.empty() && files.ReplaceFile(copy, path)) return {};
      continue;
    }
    if (!result && (result.partial || !fileIsWhole))
      result.copy = copy;
    else if (!copy.empty())
      files.RemoveFile(copy);
    return result;
  }
}

// The new content under the name that says it is whole; nothing when no
// such name can be made.
std::string KeepCompleteCopy(FileSystem& files, const std::string& temp, const std::string& path) {
  const std::string complete = CompleteCopyPath(path);
  files.RemoveFile(complete);  // an older copy, superseded by this content
  if (files.ReplaceFile(temp, complete)) return complete;
  files.RemoveFile(temp);
  return {};
}

}  // namespace

std::string TemporaryCopyPath(const std::string& path) { return path + ".new"; }
std::string CompleteCopyPath(const std::string& path) { return path + ".complete"; }

bool RetryPatience::PauseBeforeNextTry(FileSystem& files) {
  if (!patient_ || waited_ + pause_ > kPatience) return false;
  files.PauseBeforeRetry(pause_);
  waited_ += pause_;
  pause_ += kPauseStep;
  return true;
}

FileResult SafeFileWrite(FileSystem& files, const std::string& path, std::string_view bytes, bool patient,
                         bool fileIsWhole) {
  // Replacing a link would cut it off from the file it names.
  if (files.IsLinked(path)) return WriteInPlace(files, path, bytes, patient, {}, fileIsWhole);

  const std::string temp = TemporaryCopyPath(path);
  if (FileResult written = files.WriteNewFile(temp, bytes); !written) {
    files.RemoveFile(temp);
    // A folder where the file may be written but no file created.
    if (files.FileExists(path)) return WriteInPlace(files, path, bytes, patient, {}, fileIsWhole);
    return written;
  }
  FileResult replaced = files.ReplaceFile(temp, path);
  if (replaced) return replaced;
  if (!files.FileExists(path)) {
    // A new file that could not be given its name, or a replace that
    // stopped after the old file went: the new content is all there is.
    if (files.ReplaceFile(temp, path)) return {};
    replaced.copy = KeepCompleteCopy(files, temp, path);
    return replaced;
  }
  return WriteInPlace(files, path, bytes, patient, KeepCompleteCopy(files, temp, path), fileIsWhole);
}
