// This header comes before <windows.h>: windows.h defines ReplaceFile as a
// macro, which must not rename the interface's method.
#include "platform/win32/file_system_win32.h"

#include <algorithm>

#include <windows.h>
#undef ReplaceFile

namespace {

// Closes the handle however the function leaves.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (valid()) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

constexpr DWORD kChunk = 1u << 20;

// The system's own words for the last error, in the program's code page.
std::string SystemReason(DWORD error) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string reason(text ? text : "", length);
  if (text) LocalFree(text);
  while (!reason.empty() && (reason.back() == '\r' || reason.back() == '\n' || reason.back() == ' '))
    reason.pop_back();
  return reason.empty() ? "错误代码 " + std::to_string(error) : reason;
}

FileResult Failure(const std::string& path) {
  const DWORD error = GetLastError();
  return {false, error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION, path, SystemReason(error)};
}

bool WriteAll(HANDLE file, std::string_view bytes, std::size_t* written = nullptr) {
  std::size_t scratch = 0;
  std::size_t& done = written ? *written : scratch;
  while (done < bytes.size()) {
    const auto want = static_cast<DWORD>(std::min<std::size_t>(kChunk, bytes.size() - done));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, want, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

}  // namespace

FileContent Win32FileSystem::ReadFile(const std::string& path) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    const DWORD error = GetLastError();
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    if (missing) return {ReadStatus::Missing, {}, {}};
    return {ReadStatus::Failed, {}, SystemReason(error),
            error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION};
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return {ReadStatus::Failed, {}, SystemReason(GetLastError())};
  if (size.QuadPart > 0x7FFFFFFF) return {ReadStatus::Failed, {}, SystemReason(ERROR_FILE_TOO_LARGE)};

  FileContent content{ReadStatus::Ok, std::string(static_cast<std::size_t>(size.QuadPart), '\0'), {}};
  std::size_t done = 0;
  while (done < content.bytes.size()) {
    const auto want = static_cast<DWORD>(std::min<std::size_t>(kChunk, content.bytes.size() - done));
    DWORD got = 0;
    if (!::ReadFile(file.get(), content.bytes.data() + done, want, &got, nullptr)) {
      const DWORD error = GetLastError();
      return {ReadStatus::Failed, {}, SystemReason(error), error == ERROR_LOCK_VIOLATION};
    }
    if (got == 0) break;  // the file shrank while being read
    done += got;
  }
  content.bytes.resize(done);
  return content;
}

FileResult Win32FileSystem::WriteNewFile(const std::string& path, std::string_view bytes) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid() || !WriteAll(file.get(), bytes) || !FlushFileBuffers(file.get())) return Failure(path);
  return {};
}

FileResult Win32FileSystem::ReplaceFile(const std::string& from, const std::string& to) {
  const DWORD attributes = GetFileAttributesA(to.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    if (!MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) return Failure(to);
    return {};
  }
  // A file the user protected stays as it is, and a folder is no file to
  // replace.
  if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return Failure(to);
  }
  // ReplaceFile, not a move: the file keeps its security (it holds
  // passwords), its hidden or system attributes and its streams.
  if (!::ReplaceFileA(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
    return Failure(to);
  return {};
}

FileResult Win32FileSystem::OverwriteInPlace(const std::string& path, std::string_view bytes) {
  // The sharing that editors, backup and sync tools grant each other, so a
  // file they hold open is written as Windows' own profile writer does it.
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return Failure(path);
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return Failure(path);
  LARGE_INTEGER length{};
  length.QuadPart = static_cast<LONGLONG>(bytes.size());
  // A growing file gets its room first: a full disk refuses it before a
  // byte of the old content is overwritten. A shrinking one is cut only
  // after the new content is in, so a refusal half-way never leaves less.
  if (length.QuadPart > size.QuadPart &&
      (!SetFilePointerEx(file.get(), length, nullptr, FILE_BEGIN) || !SetEndOfFile(file.get()))) {
    FileResult refused = Failure(path);
    SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN);
    SetEndOfFile(file.get());
    return refused;
  }
  std::size_t written = 0;
  if (!SetFilePointerEx(file.get(), LARGE_INTEGER{}, nullptr, FILE_BEGIN) || !WriteAll(file.get(), bytes, &written) ||
      !SetFilePointerEx(file.get(), length, nullptr, FILE_BEGIN) || !SetEndOfFile(file.get()) ||
      !FlushFileBuffers(file.get())) {
    FileResult failed = Failure(path);
    failed.partial = written > 0 || length.QuadPart > size.QuadPart;
    return failed;
  }
  return {};
}

bool Win32FileSystem::IsLinked(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return true;
  FileHandle file(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  BY_HANDLE_FILE_INFORMATION information{};
  return file.valid() && GetFileInformationByHandle(file.get(), &information) && information.nNumberOfLinks > 1;
}

bool Win32FileSystem::RemoveFile(const std::string& path) {
  return DeleteFileA(path.c_str()) != FALSE;
}

bool Win32FileSystem::FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void Win32FileSystem::PauseBeforeRetry(unsigned milliseconds) { Sleep(milliseconds); }
