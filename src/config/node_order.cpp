#include "config/node_order.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "context/app_context.h"

namespace {

constexpr Ctl kList = Ctl::超级列表框_服务器列表;

// Smaller comes first.
long long Rank(const NodeLatency& latency) {
  switch (latency.kind) {
    case LatencyKind::Measured: return latency.ms;
    case LatencyKind::TimedOut: return 1LL << 40;
    case LatencyKind::Failed: return 2LL << 40;
    case LatencyKind::Untested: break;
  }
  return 3LL << 40;
}

}  // namespace

std::string LatencyText(const NodeLatency& latency) {
  switch (latency.kind) {
    case LatencyKind::Measured: return std::to_string(latency.ms) + " ms";
    case LatencyKind::TimedOut: return "超时";
    case LatencyKind::Failed: return "失败";
    case LatencyKind::Untested: break;
  }
  return {};
}

void SortNodesByLatency(AppContext& app) {
  Form& form = app.form;
  NodeTable& nodes = app.nodes;
  nodes.SyncMarks();
  const int count = static_cast<int>(nodes.lines.size());
  if (count != form.RowCount(kList)) return;  // rows and table disagree: leave both alone

  std::vector<int> order(static_cast<std::size_t>(count));
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return Rank(nodes.marks[a].latency) < Rank(nodes.marks[b].latency); });

  // Captions are taken as the rows show them: an edited row's caption is
  // built otherwise than a loaded one's.
  std::vector<std::string> lines, captions;
  std::vector<NodeMark> marks;
  for (int from : order) {
    lines.push_back(std::move(nodes.lines[from]));
    marks.push_back(nodes.marks[from]);
    captions.push_back(form.RowCaption(kList, from));
  }
  nodes.lines = std::move(lines);
  nodes.marks = std::move(marks);

  const int selected = form.SelectedRow(kList);
  form.SetListRedraw(kList, false);
  for (int row = 0; row < count; ++row) {
    if (order[row] == row) continue;
    form.SetRowCaption(kList, row, captions[row]);
    form.SetRowDetail(kList, row, LatencyText(nodes.marks[row].latency));
  }
  // The editor keeps showing its node, edits included: only the row it
  // belongs to moved.
  const auto at = [&](int old) {
    return old < 0 || old >= count ? old : static_cast<int>(std::find(order.begin(), order.end(), old) - order.begin());
  };
  if (selected >= 0) form.SelectRow(kList, at(selected));
  nodes.current = at(nodes.current);
  form.SetListRedraw(kList, true);
}
