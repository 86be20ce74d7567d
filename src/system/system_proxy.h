#pragma once
// The Windows per-user proxy settings in the three proxy modes.
#include <optional>
#include <string>

#include "platform/internet_options.h"

struct AppContext;

enum class ProxyKind { Direct = 0, Pac = 1, Global = 2 };

// The tray items "直连模式", "PAC模式", "全局模式": check the mode, save it,
// and apply it at once when the engine runs.
void SelectDirectMode(AppContext& app);
void SelectPacMode(AppContext& app);
void SelectGlobalMode(AppContext& app);

// Writes the settings for one kind; Direct with an empty value clears them.
// The LAN connection and each phone-book entry then get the same result
// through WinINet's per-connection option, so that current Windows, which
// reads them from there, agrees. Global mode bypasses local addresses.
// "" when the settings took effect (every call accepted, the LAN
// connection read back as set), else why not, in words for the user.
std::string ApplySystemProxy(AppContext& app, const std::string& value, ProxyKind kind);

// The per-connection settings ApplySystemProxy gives every connection.
LanProxySettings ConnectionSettingsFor(const std::string& value, ProxyKind kind,
                                       const std::optional<std::string>& usersBypass);

// AutoConfigURL; an empty address clears it and deletes the generated PAC
// file.
void SetAutoConfigUrl(AppContext& app, const std::string& address);
// ProxyEnable and ProxyServer; a server of blanks only clears them.
void SetProxyServer(AppContext& app, const std::string& server);

// The generated PAC file is deleted and no longer served.
void DropGeneratedPacFile(AppContext& app);
