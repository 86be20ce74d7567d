#include "driver/test_folder.h"

#include <windows.h>

#include <cstdlib>
#include <stdexcept>

namespace e2e {

namespace {

std::string RequiredEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (!value || !*value)
    throw std::runtime_error(std::string(name) + " is not set; run the driver through run_under_wine.sh");
  return value;
}

void DeleteTree(const std::string& folder) {
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + "\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        DeleteTree(path);
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryA(folder.c_str());
}

void CreateFolderPath(const std::string& path) {
  for (std::size_t i = path.find('\\', 3); i != std::string::npos; i = path.find('\\', i + 1))
    CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
  CreateDirectoryA(path.c_str(), nullptr);
}

}  // namespace

std::string CorvaneExePath() { return RequiredEnvironment("CORVANE_EXE"); }
std::string ShellLauncherPath() { return RequiredEnvironment("CORVANE_SHELL"); }
std::string StandInEnginePath() { return RequiredEnvironment("CORVANE_BROOK"); }
std::string WorkFolder() { return RequiredEnvironment("CORVANE_E2E_WORK"); }

TestFolder::TestFolder(std::string_view name)
    : path_(WorkFolder() + "\\" + std::string(name)) {
  DeleteTree(path_);
  CreateFolderPath(path_);
  if (GetFileAttributesA(path_.c_str()) == INVALID_FILE_ATTRIBUTES)
    throw std::runtime_error("cannot create the test folder " + path_);
}

std::string TestFolder::InstallCorvane() const {
  const std::string copy = PathOf("corvane.exe");
  if (!CopyFileA(CorvaneExePath().c_str(), copy.c_str(), FALSE))
    throw std::runtime_error("cannot copy " + CorvaneExePath() + " to " + copy);
  return copy;
}

std::string TestFolder::InstallEngine() const {
  const std::string copy = PathOf("brook.exe");
  if (!CopyFileA(StandInEnginePath().c_str(), copy.c_str(), FALSE))
    throw std::runtime_error("cannot copy " + StandInEnginePath() + " to " + copy);
  return copy;
}

void TestFolder::Write(std::string_view file, std::string_view bytes) const {
  if (!WriteFileBytes(PathOf(file), bytes)) throw std::runtime_error("cannot write " + PathOf(file));
}

std::optional<std::string> TestFolder::Read(std::string_view file) const {
  return ReadFileBytes(PathOf(file));
}

bool TestFolder::Exists(std::string_view file) const {
  return GetFileAttributesA(PathOf(file).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
  // Shared access: the program may hold the file open while it writes.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  bool ok = true;
  while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr)) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  if (!ok) return std::nullopt;
  return bytes;
}

bool WriteFileBytes(const std::string& path, std::string_view bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  CloseHandle(file);
  return ok;
}

}  // namespace e2e
