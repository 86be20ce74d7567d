#pragma once
// Finding and ending processes by their executable's name. The engine is
// never remembered by id: it is looked up whenever it is needed.
#include <cstdint>
#include <string_view>

class ProcessList;
class EngineProcesses;

// The engine is recognised by this name alone, whatever the configured path.
inline constexpr std::string_view kEngineProcessName = "brook.exe";

// The id of the first listed process whose file name equals `name`, ASCII
// letters compared without case; 0 when there is none.
std::uint32_t FindProcessByName(ProcessList& processes, std::string_view name);
// True when the process was ended.
bool TerminateProcessById(EngineProcesses& processes, std::uint32_t processId);
