#pragma once
// The engine this program launched is watched without polling: when it ends
// by itself it is started again with the same command line, a few times;
// when it cannot stay up (or it ran a VPN node, whose network was changed
// for it) the program lets go as a stop does and says why.
#include <cstdint>
#include <string>

struct AppContext;

// Launches the command line with the watch attached; every launch takes a
// new number in the Run state, so news of an earlier engine is ignored.
// False when the process could not be created.
bool LaunchWatchedEngine(AppContext& app, const std::string& commandLine);

// brook.log beside config.ini: what the engine printed, its last megabyte.
std::string EngineLogPath(AppContext& app);

// The tray item "查看引擎日志": shows the log in Explorer, selected, as
// "编辑PAC文件" shows its file; a box when the engine never printed.
void ShowEngineLog(AppContext& app);

// The last line the engine printed, fit for a balloon after `lead`
// (a line break between); `lead` alone when it printed nothing.
std::string WithEngineLastLine(AppContext& app, const std::string& lead);

// "退出代码 1", or in hex for the system's large status codes.
std::string ExitCodeText(std::uint32_t exitCode);
