#pragma once
// The server editor on the first page: the list of nodes, the edit controls
// holding the current node, and their way into config.ini.
#include <vector>

#include "config/node_line.h"

struct AppContext;
class IniDocument;

void LoadNodes(AppContext& app, const IniDocument& config);
void ShowSelectedNode(AppContext& app);
void StoreEditedNode(AppContext& app, int row);
void NewNode(AppContext& app);
// What NewNode followed by typing each node into the editor would leave,
// drawn once: the nodes appended, the last one selected and shown.
void AppendNodes(AppContext& app, const std::vector<NodeFields>& nodes);
void DeleteNode(AppContext& app);
void SaveNodeList(AppContext& app);
// 按钮_删除 is usable while the list has rows.
void UpdateDeleteButton(AppContext& app);
