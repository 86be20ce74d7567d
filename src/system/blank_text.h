#pragma once
// Blanks as the proxy settings see them: the ASCII space and the full-width
// GBK blank (A1 A1), found on character boundaries only.
#include <string>
#include <string_view>

std::string RemoveBlanks(std::string_view text);
std::string_view TrimBlanks(std::string_view text);
