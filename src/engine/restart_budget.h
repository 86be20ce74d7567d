#pragma once
// How often an engine that ends by itself is started again: three times
// within a minute, the first at once, then after one and two seconds. An
// engine that cannot stay up is not started for ever: the user gets the
// own proxy settings back instead of a dead port.
#include <cstdint>
#include <optional>
#include <vector>

// The delay before the next restart, in milliseconds, recording it in
// `restarts` (tick counts); nothing when three restarts were made in the
// minute before `now`.
std::optional<unsigned> NextRestartDelay(std::vector<std::uint32_t>& restarts, std::uint32_t now);
