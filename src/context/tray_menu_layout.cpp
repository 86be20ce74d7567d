#include "context/tray_menu_layout.h"

#include <array>

#include "context/list_menu_layout.h"

namespace {

constexpr MenuItemSpec Item(int level, std::string_view caption, int id, bool enabled = true,
                            bool visible = true) {
  return {level, caption, id, false, enabled, false, visible};
}
constexpr MenuItemSpec Submenu(std::string_view caption) {
  return {1, caption, 0, true, true, false, true};
}
constexpr MenuItemSpec Separator(int level) { return {level, "-", 0, false, true, false, true}; }

constexpr std::array kItems{
    Item(1, menu::状态, 2001, false),
    Submenu(menu::代理模式),
    Item(2, menu::直连模式, 2002),
    Item(2, menu::PAC模式, 2003),
    Item(2, menu::全局模式, 2004),
    Item(1, menu::启动代理, 2005),
    Item(1, menu::停止代理, 2006, false),
    Item(1, menu::HTTP方式启动, 2007),
    Submenu(menu::配置),
    Item(2, menu::编辑服务器, 2008),
    Separator(2),
    Item(2, menu::更新PAC文件, 2009),
    Item(2, menu::编辑PAC文件, 2010),
    Separator(2),
    Item(2, menu::生成分享链接, 2011),
    Item(2, menu::显示分享二维码, 2020),
    Item(2, menu::导入分享链接, 2012),
    Item(2, menu::测试全部节点延迟, 2030),
    Item(1, menu::账号自检, 2013, false),
    Item(1, menu::检测延迟, 2014),
    Separator(1),
    Submenu(menu::帮助),
    Item(2, menu::检查更新, 2015),
    Item(2, menu::使用方法, 2016),
    Separator(2),
    Item(2, menu::查看引擎日志, 2031),
    Item(2, menu::关于, 2017),
    Item(2, menu::捐赠, 2018, true, false),
    Item(1, menu::退出, 2019),
};

}  // namespace

std::span<const MenuItemSpec> TrayMenuItems() { return kItems; }

const MenuItemSpec* FindMenuItem(std::string_view caption) {
  for (const auto& item : kItems)
    if (item.caption == caption && item.caption != "-") return &item;
  return nullptr;
}

const MenuItemSpec* FindMenuItemByCommand(int commandId) {
  for (const auto& item : kItems)
    if (commandId != 0 && item.commandId == commandId) return &item;
  return nullptr;
}
