#pragma once
// Cookie lists as the HTTP client keeps them: "name=value" items joined by
// "; ".
#include <string>
#include <string_view>
#include <vector>

// The text before the first "=", or the whole item, trimmed of blanks.
std::string CookieName(std::string_view item);
bool HasCookieName(const std::vector<std::string>& list, std::string_view name);
// 1-based index of the first item equal to `item`; -1 when none.
int FindItem(const std::vector<std::string>& list, std::string_view item);
// Each item at its first occurrence only, in order, joined by `separator`.
std::string RemoveDuplicateItems(std::string_view text, std::string_view separator);

// The cookies a server set (`newCookies`) with the old ones it did not
// name appended; the server's value wins, and a cookie whose value is
// "deleted" is dropped. Blanks are removed from both lists first.
std::string MergeCookies(std::string_view oldCookies, std::string_view newCookies);
