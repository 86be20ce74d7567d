#include "app/events.h"

#include "context/app_context.h"
#include "app/node_list_menu.h"
#include "app/startup.h"
#include "context/tray_menu_layout.h"
#include "app/window_handlers.h"
#include "config/configuration.h"
#include "config/node_list.h"
#include "config/node_order.h"
#include "diag/account_self_check.h"
#include "diag/all_node_latency.h"
#include "diag/latency_test.h"
#include "engine/engine_start.h"
#include "engine/engine_stop.h"
#include "engine/engine_watch.h"
#include "engine/run_mode.h"
#include "links/share_links.h"
#include "links/share_qr_code.h"
#include "system/pac_file.h"
#include "system/start_at_logon.h"
#include "system/system_proxy.h"
#include "update/info_actions.h"
#include "update/update_check.h"

void OnControlEvent(AppContext& app, Ctl control, ControlEvent event) {
  switch (event) {
    case ControlEvent::Clicked:
      switch (control) {
        case Ctl::按钮_启动: StartEngine(app, false); break;
        case Ctl::按钮_停止: StopEngine(app); break;
        case Ctl::按钮_保存: SaveLanded(app, SaveNodeList(app)); break;
        case Ctl::按钮_新建: NewNode(app); break;
        case Ctl::按钮_删除: DeleteNode(app); break;
        case Ctl::超级列表框_服务器列表: ShowSelectedNode(app); break;
        case Ctl::按钮_浏览: BrowseForEngine(app); break;
        case Ctl::按钮_生成分享链接: GenerateShareLink(app); break;
        case Ctl::按钮_导入分享链接: ImportShareLinks(app); break;
        case Ctl::按钮_检测延迟: StartLatencyTest(app, LatencySource::Button); break;
        case Ctl::选择框_密码明文: SwitchPasswordPlainText(app); break;
        case Ctl::选择框_局域网连接: WriteLanConnection(app); break;
        case Ctl::选择框_自定义默认网关: ToggleCustomGateway(app); break;
        case Ctl::按钮_更多设置_保存: SaveLanded(app, SaveMoreSettings(app)); break;
        case Ctl::选择框_开机启动: SetStartAtLogon(app); break;
        default: break;
      }
      break;
    case ControlEvent::ContentChanged:
      if (control == Ctl::编辑框_文件位置) WriteEnginePath(app);
      break;
    case ControlEvent::LostFocus:
      if (control == Ctl::编辑框_本地端口)
        WriteLocalPort(app);
      else
        CheckFieldNotEmpty(app, control);
      break;
    case ControlEvent::ItemChosen:
      CheckFieldNotEmpty(app, control);
      break;
    case ControlEvent::SelectionChanged:
      if (control == Ctl::超级列表框_服务器列表) FollowListSelection(app);
      break;
    case ControlEvent::ContextMenu:
      if (control == Ctl::超级列表框_服务器列表) OpenNodeListMenu(app);
      break;
    case ControlEvent::HeaderClicked:
      if (control == Ctl::超级列表框_服务器列表) SortNodesByLatency(app);
      break;
  }
}

void OnMenuCommand(AppContext& app, std::string_view item) {
  if (item == menu::编辑服务器)
    ShowServerEditor(app);
  else if (item == menu::退出)
    ExitProgram(app);
  else if (item == menu::生成分享链接)
    GenerateShareLink(app);
  else if (item == menu::显示分享二维码)
    ShowShareQrCode(app);
  else if (item == menu::导入分享链接)
    ImportShareLinks(app);
  else if (item == menu::账号自检)
    StartSelfCheck(app);
  else if (item == menu::检测延迟)
    StartLatencyTest(app, LatencySource::TrayMenu);
  else if (item == menu::启动代理)
    StartEngine(app, false);
  else if (item == menu::停止代理)
    StopEngine(app);
  else if (item == menu::HTTP方式启动)
    SwitchRunMode(app);
  else if (item == menu::直连模式)
    SelectDirectMode(app);
  else if (item == menu::PAC模式)
    SelectPacMode(app);
  else if (item == menu::全局模式)
    SelectGlobalMode(app);
  else if (item == menu::更新PAC文件)
    StartPacDownload(app);
  else if (item == menu::编辑PAC文件)
    ShowPacFile(app);
  else if (item == menu::检查更新)
    StartUpdateCheck(app);
  else if (item == menu::使用方法)
    OpenHelpPage(app);
  else if (item == menu::查看引擎日志)
    ShowEngineLog(app);
  else if (item == menu::关于)
    ShowAbout(app);
  else if (item == menu::捐赠)
    OpenDonationPage(app);
  else if (item == menu::测试全部节点延迟)
    ToggleAllNodeLatency(app);
  else if (item == menu::按延迟排序)
    SortNodesByLatency(app);
  else if (item == menu::删除)
    DeleteNode(app);
}

void OnFilesDropped(AppContext& app, const std::vector<std::string>& paths) {
  EngineFilesDropped(app, paths);
}
