#include "diag/all_node_latency.h"

#include <memory>
#include <unordered_map>

#include "config/node_line.h"
#include "config/node_order.h"
#include "config/value_codec.h"
#include "context/app_context.h"
#include "context/tray_menu_layout.h"
#include "platform/diag_services.h"

namespace {

constexpr Ctl kList = Ctl::超级列表框_服务器列表;
constexpr int kDefaultTimeoutSeconds = 10;

// The window's 超时时间 setting, in seconds; anything unusable reads as
// its default.
int TimeoutMs(const Form& form) {
  const int seconds = ReadInteger(form.Text(Ctl::编辑框_账号自检设置_超时时间));
  return (seconds >= 1 && seconds <= 3600 ? seconds : kDefaultTimeoutSeconds) * 1000;
}

void ShowRunning(AppContext& app, bool running) {
  app.nodes.sweep.running = running;
  app.form.SetMenuChecked(menu::测试全部节点延迟, running);
}

// Whether the test ran to its end, was stopped or failed.
void SweepEnded(AppContext& app, unsigned generation) {
  LatencySweepState& sweep = app.nodes.sweep;
  if (sweep.generation != generation) return;
  if (sweep.running) ShowRunning(app, false);
}

std::vector<SweepTarget> TargetsOf(const NodeTable& nodes) {
  std::vector<SweepTarget> targets;
  targets.reserve(nodes.lines.size());
  for (std::size_t i = 0; i < nodes.lines.size(); ++i) {
    NodeFields node = NodeFromLine(nodes.lines[i]);
    targets.push_back({nodes.marks[i].id, std::move(node.address), std::move(node.port)});
  }
  return targets;
}

void Start(AppContext& app) {
  NodeTable& nodes = app.nodes;
  nodes.SyncMarks();
  // A new test starts from an empty column.
  app.form.SetListRedraw(kList, false);
  for (std::size_t row = 0; row < nodes.marks.size(); ++row) {
    if (nodes.marks[row].latency.kind == LatencyKind::Untested) continue;
    nodes.marks[row].latency = {};
    app.form.SetRowDetail(kList, static_cast<int>(row), "");
  }
  app.form.SetListRedraw(kList, true);

  auto stop = std::make_shared<std::atomic<bool>>(false);
  const unsigned generation = ++nodes.sweep.generation;
  nodes.sweep.stop = stop;
  ShowRunning(app, true);
  auto ended = [&app, generation] { app.form.RunOnWindowThread([&] { SweepEnded(app, generation); }); };
  app.diag->workers.Start(
      [&app, stop, generation, ended, targets = TargetsOf(nodes), timeoutMs = TimeoutMs(app.form)] {
        RunLatencySweep(app.diag->tcp, targets, timeoutMs, *stop, [&](std::vector<SweepResult> batch) {
          app.form.RunOnWindowThread([&] {
            if (!*stop) ApplyLatencyResults(app, generation, batch);
          });
        });
        ended();
      },
      ended);
}

}  // namespace

void ToggleAllNodeLatency(AppContext& app) {
  if (!app.diag) return;
  if (app.nodes.sweep.running) {
    StopAllNodeLatency(app);
    return;
  }
  // A test just stopped lets go of its sockets within a fraction of a
  // second; a new one waits for that. Its worker holds `stop` until it ends.
  if (app.nodes.sweep.stop && app.nodes.sweep.stop.use_count() > 1) return;
  Start(app);
}

void StopAllNodeLatency(AppContext& app) {
  if (app.nodes.sweep.stop) app.nodes.sweep.stop->store(true);
  if (app.nodes.sweep.running) ShowRunning(app, false);
}

void ApplyLatencyResults(AppContext& app, unsigned generation, const std::vector<SweepResult>& batch) {
  NodeTable& nodes = app.nodes;
  if (generation != nodes.sweep.generation || batch.empty()) return;
  nodes.SyncMarks();
  std::unordered_map<std::uint32_t, int> rowOf;
  rowOf.reserve(nodes.marks.size());
  for (std::size_t row = 0; row < nodes.marks.size(); ++row) rowOf[nodes.marks[row].id] = static_cast<int>(row);
  const bool rowsMatch = static_cast<int>(nodes.marks.size()) == app.form.RowCount(kList);
  for (const SweepResult& result : batch) {
    const auto found = rowOf.find(result.node);
    if (found == rowOf.end()) continue;  // deleted meanwhile
    nodes.marks[found->second].latency = result.latency;
    if (rowsMatch) app.form.SetRowDetail(kList, found->second, LatencyText(result.latency));
  }
}
