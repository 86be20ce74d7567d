#include "app/window_layout.h"

#include <array>

#include "config/defaults.h"
#include "update/maker_addresses.h"

namespace {

constexpr WindowDesign kDesign{
    {50, 50, 596, 386},
    {4, 4, 580, 332},
    {" 编辑服务器及配置 ", " 更多设置 "},
    {115, 125, 400},
    {" 当前版本：v1.0.0", "   状态：未运行", "   提醒：修改配置信息后，请记得点击[保存配置]按钮。"},
    {" Brook", " Brook Stream", " VPN"},
};

using K = ControlKind;
using P = Parent;
constexpr Ctl kNoGroup = Ctl::选择夹1;

constexpr std::array kControls{
    // page 0
    ControlSpec{Ctl::超级列表框_服务器列表, K::ListView, P::Page0, kNoGroup, {10, 31, 208, 264}, "", kNoStyle},
    ControlSpec{Ctl::按钮_新建, K::Button, P::Page0, kNoGroup, {9, 295, 105, 28}, "新建", kNoStyle},
    ControlSpec{Ctl::按钮_删除, K::Button, P::Page0, kNoGroup, {114, 295, 105, 28}, "删除", kNoStyle},
    ControlSpec{Ctl::分组框_服务器信息, K::GroupBox, P::Page0, kNoGroup, {228, 31, 340, 188}, "服务器信息", kNoStyle},
    ControlSpec{Ctl::透明标签2, K::Label, P::Group, Ctl::分组框_服务器信息, {24, 24, 80, 24}, "服务器 IP：", kNoStyle},
    ControlSpec{Ctl::编辑框_服务器IP, K::Edit, P::Group, Ctl::分组框_服务器信息, {112, 24, 192, 24}, "", kNoStyle},
    ControlSpec{Ctl::透明标签3, K::Label, P::Group, Ctl::分组框_服务器信息, {24, 56, 80, 24}, "服务器 端口：", kNoStyle},
    ControlSpec{Ctl::编辑框_服务器端口, K::Edit, P::Group, Ctl::分组框_服务器信息, {112, 56, 192, 24}, "", kDigitsOnly},
    ControlSpec{Ctl::透明标签4, K::Label, P::Group, Ctl::分组框_服务器信息, {24, 88, 80, 24}, "服务器 密码：", kNoStyle},
    ControlSpec{Ctl::编辑框_服务器密码, K::Edit, P::Group, Ctl::分组框_服务器信息, {112, 88, 192, 24}, "", kPassword},
    ControlSpec{Ctl::选择框_密码明文, K::CheckBox, P::Group, Ctl::分组框_服务器信息, {312, 88, 16, 24}, "", kNoStyle},
    ControlSpec{Ctl::透明标签9, K::Label, P::Group, Ctl::分组框_服务器信息, {24, 120, 76, 24}, "服务器 协议：", kNoStyle},
    ControlSpec{Ctl::组合框_服务器协议, K::ComboBox, P::Group, Ctl::分组框_服务器信息, {112, 120, 120, 22}, "", kNoStyle},
    ControlSpec{Ctl::按钮_检测延迟, K::Button, P::Group, Ctl::分组框_服务器信息, {233, 119, 72, 24}, "检测延迟", kNoStyle},
    ControlSpec{Ctl::透明标签7, K::Label, P::Group, Ctl::分组框_服务器信息, {24, 152, 80, 24}, "服务器 备注：", kNoStyle},
    ControlSpec{Ctl::编辑框_服务器备注, K::Edit, P::Group, Ctl::分组框_服务器信息, {112, 152, 192, 24}, "", kNoStyle},
    ControlSpec{Ctl::透明标签1, K::Label, P::Page0, kNoGroup, {232, 229, 60, 24}, "文件位置：", kNoStyle},
    ControlSpec{Ctl::编辑框_文件位置, K::Edit, P::Page0, kNoGroup, {292, 229, 240, 24}, "", kReadOnly},
    ControlSpec{Ctl::按钮_浏览, K::Button, P::Page0, kNoGroup, {532, 229, 36, 24}, "浏览", kNoStyle},
    ControlSpec{Ctl::按钮_生成分享链接, K::Button, P::Page0, kNoGroup, {348, 263, 110, 28}, "生成分享链接", kNoStyle},
    ControlSpec{Ctl::按钮_导入分享链接, K::Button, P::Page0, kNoGroup, {458, 263, 110, 28}, "导入分享链接", kNoStyle},
    ControlSpec{Ctl::按钮_保存, K::Button, P::Page0, kNoGroup, {239, 291, 92, 32}, "保存配置", kNoStyle},
    ControlSpec{Ctl::按钮_启动, K::Button, P::Page0, kNoGroup, {348, 291, 110, 32}, "启动", kNoStyle},
    ControlSpec{Ctl::按钮_停止, K::Button, P::Page0, kNoGroup, {458, 291, 110, 32}, "停止", kDisabled},
    // page 1
    ControlSpec{Ctl::分组框_账号自检设置, K::GroupBox, P::Page1, kNoGroup, {12, 32, 280, 96}, "账号自检设置", kNoStyle},
    ControlSpec{Ctl::透明标签6, K::Label, P::Group, Ctl::分组框_账号自检设置, {8, 24, 56, 24}, "测试网址：", kNoStyle},
    ControlSpec{Ctl::编辑框_账号自检设置_测试网址, K::Edit, P::Group, Ctl::分组框_账号自检设置, {72, 24, 192, 24}, kDefaultTestUrl, kNoStyle},
    ControlSpec{Ctl::透明标签10, K::Label, P::Group, Ctl::分组框_账号自检设置, {8, 56, 56, 24}, "超时时间：", kNoStyle},
    ControlSpec{Ctl::编辑框_账号自检设置_超时时间, K::Edit, P::Group, Ctl::分组框_账号自检设置, {72, 56, 192, 24}, kDefaultTimeoutSeconds, kNoStyle},
    ControlSpec{Ctl::分组框1, K::GroupBox, P::Page1, kNoGroup, {300, 32, 268, 96}, "本地代理设置", kNoStyle},
    ControlSpec{Ctl::选择框_局域网连接, K::CheckBox, P::Group, Ctl::分组框1, {72, 24, 176, 24}, "允许来自局域网的连接", kNoStyle},
    ControlSpec{Ctl::透明标签5, K::Label, P::Group, Ctl::分组框1, {8, 56, 60, 24}, "本地端口：", kNoStyle},
    ControlSpec{Ctl::编辑框_本地端口, K::Edit, P::Group, Ctl::分组框1, {72, 56, 176, 24}, kDefaultLocalPort, kDigitsOnly},
    ControlSpec{Ctl::分组框2, K::GroupBox, P::Page1, kNoGroup, {12, 136, 280, 96}, "其他设置", kNoStyle},
    ControlSpec{Ctl::选择框_开机启动, K::CheckBox, P::Group, Ctl::分组框2, {72, 24, 176, 24}, "开机启动", kNoStyle},
    ControlSpec{Ctl::分组框3, K::GroupBox, P::Page1, kNoGroup, {300, 136, 268, 156}, "VPN 模式设置", kNoStyle},
    ControlSpec{Ctl::选择框_自定义默认网关, K::CheckBox, P::Group, Ctl::分组框3, {72, 24, 176, 24}, "自定义默认网关", kNoStyle},
    ControlSpec{Ctl::透明标签13, K::Label, P::Group, Ctl::分组框3, {8, 56, 60, 24}, "网卡名称：", kNoStyle},
    ControlSpec{Ctl::编辑框_VPN设置_网卡名称, K::Edit, P::Group, Ctl::分组框3, {72, 56, 176, 24}, "", kDisabled},
    ControlSpec{Ctl::透明标签11, K::Label, P::Group, Ctl::分组框3, {8, 88, 60, 24}, "默认网关：", kNoStyle},
    ControlSpec{Ctl::编辑框_VPN设置_默认网关, K::Edit, P::Group, Ctl::分组框3, {72, 88, 176, 24}, "", kDisabled},
    ControlSpec{Ctl::透明标签12, K::Label, P::Group, Ctl::分组框3, {8, 120, 60, 24}, "首选 DNS：", kNoStyle},
    ControlSpec{Ctl::编辑框_VPN设置_首选DNS, K::Edit, P::Group, Ctl::分组框3, {72, 120, 176, 24}, "", kDisabled},
    ControlSpec{Ctl::透明标签8, K::Label, P::Page1, kNoGroup, {12, 300, 364, 24}, "注意：鼠标指向相应输入框或选择框，即可看到选项使用说明。", kNoStyle},
    ControlSpec{Ctl::按钮_更多设置_保存, K::Button, P::Page1, kNoGroup, {72, 246, 136, 36}, "保存配置", kNoStyle},
};

}  // namespace

const WindowDesign& MainWindowDesign() { return kDesign; }

std::span<const ControlSpec> MainWindowControls() { return kControls; }

const ControlSpec* FindControl(Ctl id) {
  for (const auto& c : kControls)
    if (c.id == id) return &c;
  return nullptr;
}

std::string TooltipFor(Ctl id) {
  const std::string help = CORVANE_VPN_HELP_URL;
  switch (id) {
    case Ctl::选择框_自定义默认网关:
      return "当 Corvane 无法自动获取当前设备默认网关时，请勾选该选项并填写你的默认网关。\r\n"
             "默认网关可在 CMD 中运行 ipconfig 获得，具体请见 " + help + " 。";
    case Ctl::编辑框_VPN设置_默认网关:
      return "当 Corvane 无法自动获取当前设备默认网关时，请手动填写你的默认网关。\r\n"
             "默认网关可在 CMD 中运行 ipconfig 获得，具体请见 " + help + " 。";
    case Ctl::编辑框_VPN设置_首选DNS:
      return "当 Corvane 无法自动获取当前设备默认网关时，请手动填写你的当前正在连接的网卡首选DNS配置，没有请留空。\r\n"
             "默认网关可在 CMD 中运行 ipconfig/all 获得，具体请见 " + help + " 。";
    case Ctl::编辑框_VPN设置_网卡名称:
      return "当 Corvane 无法自动获取当前设备默认网关时，请手动填写你的当前正在连接的网卡备用DNS配置，没有请留空。\r\n"
             "默认网关可在 CMD 中运行 ipconfig/all 获得，具体请见 " + help + " 。";
    case Ctl::编辑框_本地端口:
      return "Brook 监听的本地端口，建议默认。";
    case Ctl::选择框_局域网连接:
      return "如需局域网连接本地代理 或 链接IPv6服务器，请勾选。";
    case Ctl::选择框_开机启动:
      return "如需电脑开机自动启动软件及代理，请勾选（需要 以管理员方式启动）。";
    case Ctl::编辑框_账号自检设置_测试网址:
      return "测试网址支持 http:// https:// 网站，建议默认。";
    case Ctl::编辑框_账号自检设置_超时时间:
      return "超时时间单位为：秒，默认即可。";
    default:
      return {};
  }
}
