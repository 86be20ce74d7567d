#pragma once
// The PAC template pac.txt in the engine directory, the PAC file "pac"
// generated beside it, and the template's download from the PAC source host.
#include <string>
#include <string_view>

struct AppContext;

std::string PacTemplatePath(const AppContext& app);   // engine directory + "pac.txt"
std::string GeneratedPacPath(const AppContext& app);  // engine directory + "pac"

// "https://" + host + "/Other/pac.txt". A host that names its own scheme
// (such as http://127.0.0.1:8080, a local test server) keeps it.
std::string PacDownloadAddress(std::string_view host);

// Fills the template for the current Run mode and local port and writes the
// PAC file. Without a template the download starts in the background and
// this PAC file comes out empty.
void GeneratePacFile(AppContext& app);

// The tray item "更新PAC文件": UpdatePacFile on a worker thread, for the
// engine directory as it is now.
void StartPacDownload(AppContext& app);
// Downloads the template into `engineDirectory` + "pac.txt", unchanged, and
// reports in a balloon. The worker thread's body.
void UpdatePacFile(AppContext& app, const std::string& engineDirectory);

// The tray item "编辑PAC文件": the file manager with the template selected.
void ShowPacFile(AppContext& app);
