#pragma once
// The buttons and tray items "生成分享链接" and "导入分享链接": the node in
// the edit controls to the clipboard as a brook:// link, and every valid
// link on the clipboard into the server list, saved once after the last.
#include <string>
#include <string_view>

struct AppContext;
class Form;

enum class LinkCodecMode { Generate, Import };

// Generate: the link for the node in the edit controls (`text` unused).
// Import: every valid link of `text` becomes a node; returns "".
std::string RunShareLinkCodec(AppContext& app, LinkCodecMode mode, std::string_view text);

void GenerateShareLink(AppContext& app);
// What GenerateShareLink checks first: every field a link needs is filled,
// else the first empty one is named in a message box and false returned.
bool FieldsReadyForLink(Form& form);
// GenerateShareLink's last step: puts a share link on the clipboard and tells
// the user whether it is there now: the confirmation, or a box titled "错误"
// when the clipboard refused. True when the link is there.
bool CopyShareLink(AppContext& app, std::string_view link);
void ImportShareLinks(AppContext& app);
