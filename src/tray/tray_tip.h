#pragma once
// The tray tip while the engine is stopped.
#include <string>
#include <string_view>

// "Corvane", the stopped state and the local listener, e.g.
// "本地代理: HTTP 127.0.0.1:2080", on three lines.
std::string StoppedTip(std::string_view runMode, std::string_view localPort);
