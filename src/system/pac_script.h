#pragma once
// What browsers require of a PAC script before they run it.
#include <cstddef>
#include <string_view>

// Chromium refuses a PAC script larger than this, and goes direct.
inline constexpr std::size_t kBrowserPacScriptLimit = 1 << 20;

// Whether the script defines the function every browser calls. Without it
// (an empty file, an error page) a browser goes direct, and Chromium tries
// the same address again only hours later.
bool DefinesFindProxyForUrl(std::string_view script);

// The charset the script is served with: "utf-8" when its bytes read as
// UTF-8 (plain ASCII too), otherwise "gbk", the program's own code page.
std::string_view PacScriptCharset(std::string_view script);
