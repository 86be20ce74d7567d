#pragma once
// The buttons and tray items "生成分享链接" and "导入分享链接": the node in
// the edit controls to the clipboard as a brook:// link, and every valid
// link on the clipboard into the server list, saved once after the last.
#include <string>
#include <string_view>

struct AppContext;

enum class LinkCodecMode { Generate, Import };

// Generate: the link for the node in the edit controls (`text` unused).
// Import: every valid link of `text` becomes a node; returns "".
std::string RunShareLinkCodec(AppContext& app, LinkCodecMode mode, std::string_view text);

void GenerateShareLink(AppContext& app);
void ImportShareLinks(AppContext& app);
