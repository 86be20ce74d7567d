#pragma once
// A fresh folder for one test, with its own copy of corvane.exe: the program
// keeps config.ini beside itself, so every test starts from a clean slate.
//
// The folders live under the work folder the wrapper script names in
// CORVANE_E2E_WORK (a Windows path); after a run they are left for a look.
#include <optional>
#include <string>
#include <string_view>

namespace e2e {

// Windows path of the corvane.exe under test (CORVANE_EXE).
std::string CorvaneExePath();
// Windows path of the shell stand-in shell\explorer.exe (CORVANE_SHELL).
std::string ShellLauncherPath();
// Windows path of the stand-in engine brook.exe (CORVANE_BROOK).
std::string StandInEnginePath();
// Windows path of the folder that holds the test folders (CORVANE_E2E_WORK).
std::string WorkFolder();

class TestFolder {
 public:
  // The folder `name` under the work folder, emptied if a former run left it.
  explicit TestFolder(std::string_view name);

  const std::string& Path() const { return path_; }
  std::string PathOf(std::string_view file) const { return path_ + "\\" + std::string(file); }

  // Copies the program under test here; returns the path of the copy.
  std::string InstallCorvane() const;
  // Copies the stand-in engine here as brook.exe; returns its path.
  std::string InstallEngine() const;

  void Write(std::string_view file, std::string_view bytes) const;
  // The file's bytes; nothing when it does not exist or cannot be read.
  std::optional<std::string> Read(std::string_view file) const;
  bool Exists(std::string_view file) const;

 private:
  std::string path_;
};

// Reads and writes whole files by Windows path.
std::optional<std::string> ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, std::string_view bytes);

}  // namespace e2e
