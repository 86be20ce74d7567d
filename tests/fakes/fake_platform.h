#pragma once
// Fakes of the smaller Windows services, and a whole program in memory: the
// fake form, the fakes and the module state wired as the real program is.
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "context/app_context.h"
#include "app/events.h"
#include "fakes/disk_file_system.h"
#include "fakes/fake_diag.h"
#include "fakes/fake_engine_services.h"
#include "fakes/fake_form.h"
#include "fakes/fake_qr_code_window.h"
#include "fakes/fake_system_services.h"
#include "platform/platform.h"

class FakeProgramLocation : public ProgramLocation {
 public:
  std::string directory = "C:\\Corvane";
  std::string exeName = "corvane.exe";
  std::string ProgramDirectory() override { return directory; }
  std::string ExecutableName() override { return exeName; }
};

class FakeDialogs : public Dialogs {
 public:
  std::optional<std::string> answer;  // nothing: the user cancels
  std::string askedFolder, askedName;
  std::optional<std::string> ChooseFile(const std::string& folder, const std::string& name) override {
    askedFolder = folder;
    askedName = name;
    return answer;
  }
};

class FakeProcessList : public ProcessList {
 public:
  std::vector<ProcessEntry> processes;
  std::vector<ProcessEntry> Snapshot() override { return processes; }
};

// The system's named events, shared by the copies of a test: a name is
// held once created; a denied one belongs to a copy with other rights.
struct FakeNamedEvents {
  std::set<std::string> held;
  std::set<std::string> denied;
};

class FakeSingleInstance : public SingleInstance {
 public:
  FakeNamedEvents ownEvents;
  FakeNamedEvents* events = &ownEvents;
  std::vector<std::string> claimed;
  bool otherRunning = false;  // another copy holds the event (only looked at)
  bool OtherInstanceHolds(const std::string& name) override { return otherRunning || events->held.count(name); }
  bool Claim(const std::string& name) override {
    claimed.push_back(name);
    if (events->denied.count(name)) return false;
    return events->held.insert(name).second;
  }
  bool recoveryLocked = false;
  void LockRecovery() override { recoveryLocked = true; }
  void UnlockRecovery() override { recoveryLocked = false; }
};

// A fresh temporary folder that is the program's folder, removed afterwards.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  std::string Read(const std::string& name) const;
  void Write(const std::string& name, const std::string& bytes) const;
  std::vector<std::string> Names() const;

 private:
  std::string path_;
};

struct TestApp {
  TestApp();
  // Loads config.ini (written beforehand, or none) like the startup does.
  void Load();
  std::string ConfigText() const { return folder.Read("config.ini"); }
  void WriteConfig(const std::string& bytes) const { folder.Write("config.ini", bytes); }

  TempFolder folder;
  FakeForm form;
  DiskFileSystem files;
  FakeProgramLocation location;
  FakeDialogs dialogs;
  FakeProcessList processes;
  FakeSingleInstance instance;
  Platform platform{files, location, dialogs, processes, instance};
  FakeSystem system;
  FakeEngine engine{processes};
  FakeDiag diag;
  FakeQrCodeWindow qrWindow;
  AppContext app{form, platform};
};
