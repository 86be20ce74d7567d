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

bool WriteAll(HANDLE file, std::string_view bytes) {
  std::size_t done = 0;
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
    return {ReadStatus::Failed, {}, SystemReason(error)};
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return {ReadStatus::Failed, {}, SystemReason(GetLastError())};
  if (size.QuadPart > 0x7FFFFFFF) return {ReadStatus::Failed, {}, SystemReason(ERROR_FILE_TOO_LARGE)};

  FileContent content{ReadStatus::Ok, std::string(static_cast<std::size_t>(size.QuadPart), '\0'), {}};
  std::size_t done = 0;
  while (done < content.bytes.size()) {
    const auto want = static_cast<DWORD>(std::min<std::size_t>(kChunk, content.bytes.size() - done));
    DWORD got = 0;
    if (!::ReadFile(file.get(), content.bytes.data() + done, want, &got, nullptr))
      return {ReadStatus::Failed, {}, SystemReason(GetLastError())};
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
  // MoveFileEx refuses to replace a read-only file, which keeps a file the
  // user protected as it is.
  if (!MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return Failure(to);
  return {};
}

FileResult Win32FileSystem::OverwriteInPlace(const std::string& path, std::string_view bytes) {
  // The sharing that editors, backup and sync tools grant each other, so a
  // file they hold open is written as Windows' own profile writer does it.
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  // The new length first: a full disk, or a program that maps the file,
  // refuses it before a byte of the old content is overwritten.
  LARGE_INTEGER length{};
  length.QuadPart = static_cast<LONGLONG>(bytes.size());
  if (!file.valid() || !SetFilePointerEx(file.get(), length, nullptr, FILE_BEGIN) || !SetEndOfFile(file.get()) ||
      !SetFilePointerEx(file.get(), LARGE_INTEGER{}, nullptr, FILE_BEGIN) || !WriteAll(file.get(), bytes) ||
      !FlushFileBuffers(file.get()))
    return Failure(path);
  return {};
}

bool Win32FileSystem::RemoveFile(const std::string& path) {
  return DeleteFileA(path.c_str()) != FALSE;
}

bool Win32FileSystem::FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void Win32FileSystem::PauseBeforeRetry(unsigned milliseconds) { Sleep(milliseconds); }
