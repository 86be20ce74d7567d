#pragma once
// The Windows per-user proxy settings in the three proxy modes.
#include <string>

struct AppContext;

enum class ProxyKind { Direct = 0, Pac = 1, Global = 2 };

// The tray items "直连模式", "PAC模式", "全局模式": check the mode, save it,
// and apply it at once when the engine runs.
void SelectDirectMode(AppContext& app);
void SelectPacMode(AppContext& app);
void SelectGlobalMode(AppContext& app);

// Writes the settings for one kind; Direct with an empty value clears them.
// The LAN connection's settings then get the same result through WinINet,
// so that current Windows, which reads them from there, agrees.
void ApplySystemProxy(AppContext& app, const std::string& value, ProxyKind kind);

// AutoConfigURL and the automatic-configuration records; an empty address
// clears them and deletes the generated PAC file.
void SetAutoConfigUrl(AppContext& app, const std::string& address);
// ProxyEnable, ProxyServer and the per-entry proxy records; a server of
// blanks only clears them.
void SetProxyServer(AppContext& app, const std::string& server);

// The generated PAC file is deleted and no longer served.
void DropGeneratedPacFile(AppContext& app);
