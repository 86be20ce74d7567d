#pragma once
// Whether the program was started from the Windows shell (a double-click),
// told from the parent of the first process with the program's own name.
#include <string_view>
#include <vector>

#include "platform/process_list.h"

bool LaunchedFromShell(const std::vector<ProcessEntry>& processes, std::string_view ownExeName);
