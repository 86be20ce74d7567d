#pragma once
// The node list's own menu: the latency test of all nodes, the sort by
// latency, the selected node's share link and QR code, and "删除".
struct AppContext;

void OpenNodeListMenu(AppContext& app);
