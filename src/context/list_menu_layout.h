#pragma once
// The node list's own menu, opened by a right click on a row, the menu key
// or Shift+F10. Command ids double as WM_COMMAND identifiers, apart from
// the tray menu's.
#include <span>
#include <string_view>

namespace menu {
inline constexpr std::string_view 测试全部节点延迟 = "测试全部节点延迟";
inline constexpr std::string_view 按延迟排序 = "按延迟排序";
inline constexpr std::string_view 删除 = "删除";
}  // namespace menu

struct PopupEntry {
  std::string_view caption;  // "-" is a separator
  int commandId;
  bool enabled = true;
  bool checked = false;
};

// The items in order, all enabled and unchecked; the program sets their
// states each time the menu opens.
std::span<const PopupEntry> ListMenuItems();
const PopupEntry* FindListMenuItemByCommand(int commandId);
