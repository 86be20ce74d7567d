// Clipboard text of any kind through ImportShareLinks. Besides the
// sanitizers' checks: exactly the lines that are valid links become nodes,
// and config.ini afterwards holds every node, one key each.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "context/app_context.h"
#include "ini/ini_document.h"
#include "fakes/fake_diag.h"
#include "fakes/fake_form.h"
#include "links/share_link_codec.h"
#include "links/share_links.h"
#include "memory_file_system.h"

namespace {

struct NoDialogs : Dialogs {
  std::optional<std::string> ChooseFile(const std::string&, const std::string&) override { return std::nullopt; }
};
struct NoLocation : ProgramLocation {
  std::string ProgramDirectory() override { return "C:\\Corvane"; }
  std::string ExecutableName() override { return "corvane.exe"; }
};
struct NoProcesses : ProcessList {
  std::vector<ProcessEntry> Snapshot() override { return {}; }
};
struct NoInstance : SingleInstance {
  bool OtherInstanceHolds(const std::string&) override { return false; }
  bool Claim(const std::string&) override { return true; }
  void LockRecovery() override {}
  void UnlockRecovery() override {}
};

void Require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

std::string StoredForm(std::string line) {
  std::erase_if(line, [](char c) { return c == '\r' || c == '\n'; });
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.pop_back();
  std::size_t start = 0;
  while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) ++start;
  return line.substr(start);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string clipboard(reinterpret_cast<const char*>(data), size);

  FakeForm form;
  MemoryFileSystem files;
  NoLocation location;
  NoDialogs dialogs;
  NoProcesses processes;
  NoInstance instance;
  Platform platform{files, location, dialogs, processes, instance};
  FakeDiag diag;
  AppContext app(form, platform);
  app.diag = &diag.services;
  app.config.SetPath("C:\\Corvane\\config.ini");
  files.files[app.config.Path()] = "[NodeList]\r\nNum=0\r\n";

  diag.clipboard.text = clipboard;
  ImportShareLinks(app);

  // The import's own reading of the clipboard, line by line.
  const std::string text = WithoutSpaces(clipboard.substr(0, clipboard.find('\0')));
  std::size_t valid = 0;
  for (std::string_view line : LinkLines(text)) valid += ParseShareLink(line).has_value();
  Require(app.nodes.lines.size() == valid, "one node per valid link");
  Require(form.RowCount(Ctl::超级列表框_服务器列表) == static_cast<int>(valid), "one row per node");

  if (valid == 0) return 0;
  const IniDocument saved = IniDocument::Parse(files.files[app.config.Path()]);
  Require(saved.Get("NodeList", "Num", "") == std::to_string(valid), "Num counts the nodes");
  Require(saved.Keys("Node").size() == valid, "one key per node");
  for (std::size_t i = 0; i < valid; ++i)
    Require(saved.Get("Node", "Node" + std::to_string(i + 1), "") ==
                StoredForm(app.nodes.lines[i]).substr(0, IniDocument::kMaxValueBytes),
            "each node saved as it is");
  return 0;
}
