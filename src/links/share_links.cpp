#include "links/share_links.h"

#include <array>
#include <utility>
#include <vector>

#include "context/app_context.h"
#include "config/configuration.h"
#include "config/node_list.h"
#include "links/share_link_codec.h"
#include "platform/diag_services.h"
#include "platform/engine_services.h"
#include "shared/scoped_flag.h"

namespace {

// The fields a link needs, in the order they are checked, with the message
// for an empty one.
constexpr std::array<std::pair<Ctl, std::string_view>, 5> kRequiredFields{{
    {Ctl::编辑框_文件位置, "文件位置 不能为空！"},
    {Ctl::编辑框_本地端口, "本地端口 不能为空！"},
    {Ctl::编辑框_服务器IP, "服务器IP 不能为空！"},
    {Ctl::编辑框_服务器端口, "服务器端口 不能为空！"},
    {Ctl::编辑框_服务器密码, "服务器密码 不能为空！"},
}};

}  // namespace

bool FieldsReadyForLink(Form& form) {
  for (const auto& [field, message] : kRequiredFields) {
    if (form.Text(field).empty()) {
      form.ShowMessage(message, "错误");
      return false;
    }
  }
  if (form.ComboSelection(Ctl::组合框_服务器协议) == -1) {
    form.ShowMessage("服务器协议 不能为空！", "错误");
    return false;
  }
  return true;
}

std::string RunShareLinkCodec(AppContext& app, LinkCodecMode mode, std::string_view text) {
  Form& form = app.form;
  if (mode == LinkCodecMode::Generate) {
    return ShareLinkFor({form.Text(Ctl::编辑框_服务器IP), form.Text(Ctl::编辑框_服务器端口),
                         form.Text(Ctl::编辑框_服务器密码), form.ComboSelection(Ctl::组合框_服务器协议)});
  }
  if (text.empty()) {
    form.ShowMessage("导入分享链接 不能为空！", "错误");
    return {};
  }
  // Each link ends as a node NewNode adds and the editor fills; they are
  // added in one go, so the list is drawn once and the file written once.
  std::vector<NodeFields> nodes;
  for (std::string_view line : LinkLines(text))
    if (const auto link = ParseShareLink(line))
      nodes.push_back({link->address, link->port, link->password, link->protocol, ""});
  if (nodes.empty()) return {};
  AppendNodes(app, nodes);
  SaveLanded(app, SaveNodeList(app));
  if (!form.WindowVisible()) {
    form.SetCurrentPage(Ctl::选择夹1, 0);
    form.SetWindowVisible(true);
  }
  return {};
}

void GenerateShareLink(AppContext& app) {
  if (!app.diag || !FieldsReadyForLink(app.form)) return;
  CopyShareLink(app, RunShareLinkCodec(app, LinkCodecMode::Generate, {}));
}

bool CopyShareLink(AppContext& app, std::string_view link) {
  if (!app.diag || !app.diag->clipboard.WriteText(link)) {
    // Another program may hold the clipboard; saying it was copied would
    // have the user paste whatever was there before.
    app.form.ShowMessage("Brook账号分享链接复制到剪辑板失败，请重试！", "错误");
    return false;
  }
  app.form.ShowMessage("Brook账号分享链接已复制到剪辑板中！", "提示");
  return true;
}

void ImportShareLinks(AppContext& app) {
  if (!app.diag || app.nodes.importing) return;
  const std::string text = WithoutSpaces(app.diag->clipboard.ReadText());
  if (text.empty()) {
    app.form.ShowMessage("剪辑板(剪切板)为空！", "错误");
    return;
  }
  // Clicks on "导入分享链接" queued while the import ran find the flag set
  // and are dropped: the clipboard is not imported a second time.
  const ScopedFlag importing(app.nodes.importing);
  RunShareLinkCodec(app, LinkCodecMode::Import, text);
  if (app.engine) app.engine->wait.Wait(0);
}
