#pragma once
// Finding processes by their executable's name: whether any brook.exe runs,
// whoever started it.
#include <cstdint>
#include <string_view>

class ProcessList;

// The file name a Brook engine has, whatever the configured path.
inline constexpr std::string_view kEngineProcessName = "brook.exe";

// The id of the first listed process whose file name equals `name`, ASCII
// letters compared without case; 0 when there is none.
std::uint32_t FindProcessByName(ProcessList& processes, std::string_view name);
