#pragma once
// The PAC template pac.txt in the engine directory, the PAC file "pac"
// generated beside it, and the template's download from the PAC source host.
#include <cstddef>
#include <string>
#include <string_view>

struct AppContext;

std::string PacTemplatePath(const AppContext& app);   // engine directory + "pac.txt"
std::string GeneratedPacPath(const AppContext& app);  // engine directory + "pac"

// "https://" + host + "/Other/pac.txt". A host that names its own scheme
// (such as http://127.0.0.1:8080, a local test server) keeps it.
std::string PacDownloadAddress(std::string_view host);

enum class PacScriptState {
  Ready,       // the PAC file is written and holds FindProxyForURL
  NoTemplate,  // pac.txt is missing or empty; its download has started
  NotAScript,  // pac.txt defines no FindProxyForURL
  Unwritten,   // the PAC file could not be written
};
struct GeneratedPac {
  PacScriptState state;
  std::size_t size = 0;  // of the PAC file written
};
// Fills the template for the listener that counts (the running engine's)
// and the local port and writes the PAC file, only when the result is a
// script browsers run: an empty one would send them direct for hours.
GeneratedPac GeneratePacFile(AppContext& app);

// The tray item "更新PAC文件": UpdatePacFile on a worker thread, for the
// engine directory as it is now.
void StartPacDownload(AppContext& app);
// Downloads the template into `engineDirectory` + "pac.txt", unchanged, and
// reports in a balloon. The worker thread's body.
void UpdatePacFile(AppContext& app, const std::string& engineDirectory);

// The tray item "编辑PAC文件": the file manager with the template selected.
void ShowPacFile(AppContext& app);
