#pragma once
// config.ini into the window at startup, and the window's settings back.
#include <string>

#include "platform/file_system.h"

struct AppContext;

std::string ConfigPath(AppContext& app);
void LoadConfiguration(AppContext& app);
FileResult SaveMoreSettings(AppContext& app);
// True when the save landed; otherwise the user is told which file failed
// and why, and the window keeps the edits for another try.
bool SaveLanded(AppContext& app, const FileResult& result);
// The same, at "退出": whether the program may end. A file not read at start
// was never written, so the box only says why. Otherwise the user chooses:
// stay and put the cause right, or end without the save.
bool MayEndAfterSave(AppContext& app, const FileResult& result);

// Writers bound to single controls.
void WriteEnginePath(AppContext& app);        // 编辑框_文件位置 changed
void WriteLocalPort(AppContext& app);         // 编辑框_本地端口 lost the focus
void WriteLanConnection(AppContext& app);     // 选择框_局域网连接 clicked
void ToggleCustomGateway(AppContext& app);    // 选择框_自定义默认网关 clicked

// The three VPN boxes are usable only with a custom gateway.
void EnableVpnBoxes(AppContext& app, bool enabled);
// "HTTP方式启动" follows the Run mode, "全局模式" the listener that counts
// (GlobalModeAvailable): SOCKS5 cannot carry a global proxy, so a checked
// global mode falls back to direct. Also at every start and stop.
void ApplyRunModeToMenu(AppContext& app);
