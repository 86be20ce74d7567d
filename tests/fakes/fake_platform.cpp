#include "fakes/fake_platform.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "config/configuration.h"

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  std::string pattern = (fs::temp_directory_path() / "corvane-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ec;
  fs::permissions(path_, fs::perms::all, fs::perm_options::add, ec);
  for (auto& entry : fs::directory_iterator(path_, ec))
    fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

std::string TempFolder::Read(const std::string& name) const {
  std::ifstream in(File(name), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void TempFolder::Write(const std::string& name, const std::string& bytes) const {
  std::ofstream(File(name), std::ios::binary) << bytes;
}

std::vector<std::string> TempFolder::Names() const {
  std::vector<std::string> names;
  for (auto& entry : fs::directory_iterator(path_)) names.push_back(entry.path().filename().string());
  return names;
}

TestApp::TestApp() {
  location.directory = folder.Path();
  app.diag = &diag.services;
  app.qrWindow = &qrWindow;
  app.system = &system.services;
  app.engine = &engine.services;
  form.onEvent = [this](Ctl c, ControlEvent e) { OnControlEvent(app, c, e); };
}

void TestApp::Load() { LoadConfiguration(app); }
