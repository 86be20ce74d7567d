#include "diag/cookies.h"

#include <unordered_set>

#include "diag/text_search.h"

std::string CookieName(std::string_view item) {
  const std::size_t eq = item.find('=');  // "=" is never a GBK trail byte
  return TrimBlanks(eq == std::string_view::npos ? item : item.substr(0, eq));
}

bool HasCookieName(const std::vector<std::string>& list, std::string_view name) {
  for (const std::string& item : list)
    if (CookieName(item) == name) return true;
  return false;
}

int FindItem(const std::vector<std::string>& list, std::string_view item) {
  for (std::size_t i = 0; i < list.size(); ++i)
    if (list[i] == item) return static_cast<int>(i + 1);
  return -1;
}

std::string RemoveDuplicateItems(std::string_view text, std::string_view separator) {
  std::string out;
  std::unordered_set<std::string> seen;
  for (std::string& item : SplitText(text, separator)) {
    if (!seen.insert(item).second) continue;
    if (seen.size() > 1) out.append(separator);
    out.append(item);
  }
  return out;
}

std::string MergeCookies(std::string_view oldCookies, std::string_view newCookies) {
  const std::vector<std::string> oldList = SplitText(WithoutBlanks(oldCookies), ";");
  std::vector<std::string> merged = SplitText(WithoutBlanks(newCookies), ";");
  // The names of `merged` as it grows; the same test as HasCookieName
  // without walking the list again for every old item.
  std::unordered_set<std::string> names;
  for (const std::string& item : merged) names.insert(CookieName(item));
  for (const std::string& item : oldList)
    if (names.insert(CookieName(item)).second) merged.push_back(item);

  std::string joined;
  for (const std::string& item : merged)
    if (!item.ends_with("=deleted")) joined.append(item).append("; ");
  if (!joined.empty()) joined.resize(joined.size() - 2);
  return RemoveDuplicateItems(joined, "; ");
}
