#pragma once
// "测试全部节点延迟" (the list's menu and the tray's "配置..." submenu): the
// TCP connect time of every node, shown in the list's column "延迟" and kept
// with each node, never in config.ini. Choosing it again stops the test.
#include <vector>

#include "context/node_table.h"
#include "diag/latency_sweep.h"

struct AppContext;

void ToggleAllNodeLatency(AppContext& app);
// At the program's end: a running test lets go at once.
void StopAllNodeLatency(AppContext& app);
// On the window's thread: a batch of results lands beside its nodes,
// wherever they sit now; a node deleted meanwhile drops its result.
void ApplyLatencyResults(AppContext& app, unsigned generation, const std::vector<SweepResult>& batch);
