#include "context/list_menu_layout.h"

#include <array>

#include "context/tray_menu_layout.h"

namespace {

constexpr std::array<PopupEntry, 7> kItems{{
    {menu::测试全部节点延迟, 3001},
    {menu::按延迟排序, 3002},
    {"-", 0},
    {menu::生成分享链接, 3003},
    {menu::显示分享二维码, 3004},
    {"-", 0},
    {menu::删除, 3005},
}};

}  // namespace

std::span<const PopupEntry> ListMenuItems() { return kItems; }

const PopupEntry* FindListMenuItemByCommand(int commandId) {
  for (const auto& item : kItems)
    if (commandId != 0 && item.commandId == commandId) return &item;
  return nullptr;
}
