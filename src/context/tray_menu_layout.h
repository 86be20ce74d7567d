#pragma once
// The tray menu 托盘菜单 as designed. Items are addressed by their design
// caption, which stays their name even when the program changes the caption
// shown (the status item). Command ids double as WM_COMMAND identifiers.
#include <span>
#include <string_view>

struct MenuItemSpec {
  int level;                 // 1: in the pop-up itself, 2: in the submenu above
  std::string_view caption;  // "-" is a separator
  int commandId;             // 0 for separators and submenu heads
  bool submenu;
  bool enabled;
  bool checked;
  bool visible;
};

namespace menu {
inline constexpr std::string_view 状态 = "状态: 未运行";
inline constexpr std::string_view 代理模式 = "代理模式";
inline constexpr std::string_view 直连模式 = "直连模式";
inline constexpr std::string_view PAC模式 = "PAC模式";
inline constexpr std::string_view 全局模式 = "全局模式";
inline constexpr std::string_view 启动代理 = "启动代理";
inline constexpr std::string_view 停止代理 = "停止代理";
inline constexpr std::string_view HTTP方式启动 = "HTTP方式启动";
inline constexpr std::string_view 配置 = "配置...";
inline constexpr std::string_view 编辑服务器 = "编辑服务器...";
inline constexpr std::string_view 更新PAC文件 = "更新PAC文件";
inline constexpr std::string_view 编辑PAC文件 = "编辑PAC文件";
inline constexpr std::string_view 生成分享链接 = "生成分享链接";
inline constexpr std::string_view 显示分享二维码 = "显示分享二维码";
inline constexpr std::string_view 导入分享链接 = "导入分享链接";
inline constexpr std::string_view 账号自检 = "账号自检";
inline constexpr std::string_view 检测延迟 = "检测延迟";
inline constexpr std::string_view 帮助 = "帮助";
inline constexpr std::string_view 检查更新 = "检查更新";
inline constexpr std::string_view 使用方法 = "使用方法";
inline constexpr std::string_view 查看引擎日志 = "查看引擎日志";
inline constexpr std::string_view 关于 = "关于...";
inline constexpr std::string_view 捐赠 = "捐赠...";
inline constexpr std::string_view 退出 = "退出";
}  // namespace menu

std::span<const MenuItemSpec> TrayMenuItems();
const MenuItemSpec* FindMenuItem(std::string_view caption);
const MenuItemSpec* FindMenuItemByCommand(int commandId);
