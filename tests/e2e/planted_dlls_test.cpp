// DLLs named like system ones, left beside corvane.exe, never run: Wine is
// told to prefer such native DLLs over its own, as Windows prefers the
// program's folder for any DLL outside its KnownDLLs list.
#include <windows.h>

#include <string>

#include "context/tray_menu_layout.h"
#include "driver/internet_settings.h"
#include "e2e_test.h"

namespace e2e {
namespace {

// Two more names are left out because Wine itself loads them from the
// program's folder, where Windows does not: Wine's advapi32 imports
// version.dll, resolved before any code of the program runs (Wine 8 does not
// read the image's DependentLoadFlags), and Wine's own DLLs delay-load
// iphlpapi.dll by a search of their own that SetDefaultDllDirectories does
// not narrow.
constexpr const char* kPlanted[] = {"wininet.dll", "uxtheme.dll", "rasapi32.dll"};

// planted.dll sits beside this driver.
std::string PlantedDllPath() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string driver(path, length);
  return driver.substr(0, driver.find_last_of('\\') + 1) + "planted.dll";
}

// Copies of corvane.exe started meanwhile take the DLLs of these names beside
// them before Wine's own, as Windows would. (Wine reads the overrides of a
// program by its name from the registry when the program starts.)
class NativeDllsFirst {
 public:
  NativeDllsFirst() {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
      return;
    for (const char* name : kPlanted) {
      const std::string dll(name, std::string(name).find('.'));
      RegSetValueExA(key, dll.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>("native,builtin"), 15);
    }
    RegCloseKey(key);
  }
  ~NativeDllsFirst() { RegDeleteKeyA(HKEY_CURRENT_USER, kKey); }

 private:
  static constexpr char kKey[] = "Software\\Wine\\AppDefaults\\corvane.exe\\DllOverrides";
};

class PlantedDlls : public E2eTest {
 protected:
  PlantedDlls() { ClearInternetSettings(); }
  ~PlantedDlls() override { ClearInternetSettings(); }
};

TEST_F(PlantedDlls, NoneBesideTheProgramIsLoadedThroughAStartInGlobalMode) {
  for (const char* name : kPlanted) ASSERT_TRUE(CopyFileA(PlantedDllPath().c_str(), folder.PathOf(name).c_str(), FALSE));
  // The witness works: loaded under a name of no system DLL (Wine would
  // take its own for those), it leaves its marker.
  ASSERT_TRUE(CopyFileA(PlantedDllPath().c_str(), folder.PathOf("witness.dll").c_str(), FALSE));
  HMODULE witness = LoadLibraryA(folder.PathOf("witness.dll").c_str());
  ASSERT_NE(witness, nullptr);
  FreeLibrary(witness);
  ASSERT_TRUE(folder.Exists("witness.dll.loaded"));

  // The engine in a folder of its own: its DLLs are not the question here.
  CreateDirectoryA(folder.PathOf("engine").c_str(), nullptr);
  const std::string engine = folder.PathOf("engine\\brook.exe");
  ASSERT_TRUE(CopyFileA(StandInEnginePath().c_str(), engine.c_str(), FALSE));
  folder.Write("config.ini", "[BasisConfig]\r\nFile=" + engine + "\r\nLocal port=" + LocalPort() +
                                 "\r\nProxy Mode=2\r\n[NodeList]\r\nNum=1\r\nSelect node=0\r\n"
                                 "[Node]\r\nNode1=127.0.0.1 9001 secret 0 stand-in\r\n");
  {
    NativeDllsFirst overrides;
    ProgramRun run = ProgramRun::StartQuiet(exe);
    auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
    EXPECT_TRUE(window) << "the program did not start";
    if (window) {
      EXPECT_TRUE(WaitUntil([] { return InternetSettingNumber("ProxyEnable") == std::optional<DWORD>(1); },
                            kStartTimeout));
      window->Command(menu::退出);
      EXPECT_EQ(run.WaitForExit(kActionTimeout), std::optional<DWORD>(0));
    }
  }
  for (const char* name : kPlanted)
    EXPECT_FALSE(folder.Exists(std::string(name) + ".loaded"))
        << name << " was loaded by " << folder.Read(std::string(name) + ".loaded").value_or("");
}

}  // namespace
}  // namespace e2e
