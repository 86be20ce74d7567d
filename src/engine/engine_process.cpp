#include "engine/engine_process.h"

#include "platform/process_list.h"
#include "shared/gbk_text.h"

std::uint32_t FindProcessByName(ProcessList& processes, std::string_view name) {
  const std::string wanted = gbk::AsciiLower(name);
  for (const ProcessEntry& entry : processes.Snapshot())
    if (gbk::AsciiLower(entry.exeName) == wanted) return entry.processId;
  return 0;
}
