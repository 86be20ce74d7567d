#pragma once
// The nodes ordered by their latency, and its text in the list's column
// "延迟".
#include <string>

#include "context/node_table.h"

struct AppContext;

// "N ms", "超时", "失败", or empty for a node not tested.
std::string LatencyText(const NodeLatency& latency);
// Fastest first, then "超时", then "失败", then untested; equals keep their
// order. The selected node stays selected and shown, with the editor's
// edits; like any edit, the new order is what the next save writes.
void SortNodesByLatency(AppContext& app);
