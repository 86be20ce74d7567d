#pragma once
// The button 按钮_检测延迟 and the tray item "检测延迟": one ICMP echo to
// a server, retried once, reported in a balloon. Both ways in stay
// disabled while a test runs.
#include <string>

struct AppContext;

enum class LatencySource { Button = 0, TrayMenu = 1 };

inline constexpr int kLatencyTimeoutMs = 2000;

// On the window's thread: refuses a VPN node, else disables both ways in
// and starts the worker.
void StartLatencyTest(AppContext& app, LatencySource source);
// The worker thread's body. From the tray menu while the engine runs it
// measures the running node (`runningServer`, taken when the test
// started); otherwise the address in 编辑框_服务器IP.
void LatencyWorker(AppContext& app, LatencySource source, const std::string& runningServer);
// Pings `target` (twice when the first gets no answer) and reports.
void MeasureLatency(AppContext& app, const std::string& target, int timeoutMs);
