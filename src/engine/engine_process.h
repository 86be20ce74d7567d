#pragma once
// The engine is recognised by its file name.
#include <string_view>

// The file name a Brook engine has, whatever the configured path.
inline constexpr std::string_view kEngineProcessName = "brook.exe";
