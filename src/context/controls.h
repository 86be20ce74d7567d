#pragma once
// The main window's controls, named as on the form. The values double as the
// Win32 control identifiers, so the end-to-end driver can find each control.

enum class Ctl : int {
  // tab control and status bar
  选择夹1 = 1000,
  状态条1 = 1001,

  // page 0: server editor
  超级列表框_服务器列表 = 1100,
  按钮_新建,
  按钮_删除,
  分组框_服务器信息,
  透明标签2,
  编辑框_服务器IP,
  透明标签3,
  编辑框_服务器端口,
  透明标签4,
  编辑框_服务器密码,
  选择框_密码明文,
  透明标签9,
  组合框_服务器协议,
  按钮_检测延迟,
  透明标签7,
  编辑框_服务器备注,
  透明标签1,
  编辑框_文件位置,
  按钮_浏览,
  按钮_生成分享链接,
  按钮_导入分享链接,
  按钮_保存,
  按钮_启动,
  按钮_停止,

  // page 1: further settings
  分组框_账号自检设置 = 1200,
  透明标签6,
  编辑框_账号自检设置_测试网址,
  透明标签10,
  编辑框_账号自检设置_超时时间,
  分组框1,
  选择框_局域网连接,
  透明标签5,
  编辑框_本地端口,
  分组框2,
  选择框_开机启动,
  分组框3,
  选择框_自定义默认网关,
  透明标签13,
  编辑框_VPN设置_网卡名称,
  透明标签11,
  编辑框_VPN设置_默认网关,
  透明标签12,
  编辑框_VPN设置_首选DNS,
  透明标签8,
  按钮_更多设置_保存,
};
