#pragma once
// The nodes behind the rows of 超级列表框_服务器列表: entry i is row i.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A node's TCP connect time, as the test of all nodes last found it.
enum class LatencyKind : std::uint8_t { Untested, Measured, TimedOut, Failed };
struct NodeLatency {
  LatencyKind kind = LatencyKind::Untested;
  int ms = 0;  // Measured only
};

// What stays with a node whatever row it moves to: an identity of its own
// and its latency. Never written to config.ini.
struct NodeMark {
  std::uint32_t id = 0;
  NodeLatency latency;
};

// The test of all nodes while it runs: `stop` is shared with its worker.
struct LatencySweepState {
  std::shared_ptr<std::atomic<bool>> stop;
  unsigned generation = 0;  // results of an earlier test are dropped
  bool running = false;
};

struct NodeTable {
  std::vector<std::string> lines;  // one Node line per row
  int current = -1;                // the row the edit controls show; -1 none
  bool importing = false;          // share links are being added
  // The editor's fields (address, port, password, protocol, remark) as the
  // controls gave them back right after the node was shown: the user
  // changed a field when it no longer reads so.
  std::vector<std::string> shown;
  std::vector<NodeMark> marks;     // one per line, in the same order
  std::uint32_t nextId = 1;
  LatencySweepState sweep;

  // Whoever appends or removes lines keeps the marks beside them; a line
  // appended without its mark gets a fresh one here.
  void SyncMarks() {
    while (marks.size() < lines.size()) marks.push_back({nextId++, {}});
    if (marks.size() > lines.size()) marks.resize(lines.size());
  }
  void RemoveMark(std::size_t row) {
    if (row < marks.size()) marks.erase(marks.begin() + static_cast<std::ptrdiff_t>(row));
  }
};
