#pragma once
// The server editor on the first page: the list of nodes, the edit controls
// holding the current node, and their way into config.ini.
#include <vector>

#include "config/node_line.h"
#include "platform/file_system.h"

struct AppContext;
class IniDocument;

void LoadNodes(AppContext& app, const IniDocument& config);
void ShowSelectedNode(AppContext& app);
// The user moved the list's selection: the editor keeps its edits for the
// row it showed and shows the newly selected one.
void FollowListSelection(AppContext& app);
void StoreEditedNode(AppContext& app, int row);
void NewNode(AppContext& app);
// What NewNode followed by typing each node into the editor would leave,
// drawn once: the nodes appended, the last one selected and shown.
void AppendNodes(AppContext& app, const std::vector<NodeFields>& nodes);
void DeleteNode(AppContext& app);
// Nothing to save (no row selected) counts as saved.
FileResult SaveNodeList(AppContext& app);
// 按钮_删除 is usable while a row is selected.
void UpdateDeleteButton(AppContext& app);
