#include "app/window_handlers.h"

#include "context/app_context.h"
#include "shared/gbk_text.h"

std::string EngineDirectoryOf(const std::string& enginePath) {
  std::size_t slash = gbk::FindLast(enginePath, '\\');
  return slash == std::string::npos ? std::string() : enginePath.substr(0, slash + 1);
}

void SplitEnginePath(AppContext& app) {
  app.engineDirectory = EngineDirectoryOf(app.form.Text(Ctl::编辑框_文件位置));
}

void BrowseForEngine(AppContext& app) {
  auto chosen = app.platform.dialogs.ChooseFile(app.platform.location.ProgramDirectory(), "brook.exe");
  if (!chosen) return;
  app.form.SetText(Ctl::编辑框_文件位置, *chosen);
  SplitEnginePath(app);
}

void EngineFilesDropped(AppContext& app, const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    std::size_t slash = gbk::FindLast(path, '\\');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name != "brook.exe") {
      app.form.ShowMessage("拖放文件只支持文件名：brook.exe ，当前拖放的文件名为：" + name +
                               "，请确保是 Brook命令行版客户端(不带钥匙图标)，如果是 请重命名！",
                           "错误");
      continue;
    }
    app.form.SetText(Ctl::编辑框_文件位置, path);
    SplitEnginePath(app);
  }
}

void SwitchPasswordPlainText(AppContext& app) {
  app.form.SetPasswordEntry(Ctl::编辑框_服务器密码, !app.form.Checked(Ctl::选择框_密码明文));
}

bool CheckFieldNotEmpty(AppContext& app, Ctl field) {
  Form& form = app.form;
  const char* message = nullptr;
  switch (field) {
    case Ctl::编辑框_服务器IP:
      if (form.Text(field).empty()) message = "服务器IP 不能为空！";
      break;
    case Ctl::编辑框_服务器端口:
      if (form.Text(field).empty()) message = "服务器端口 不能为空！";
      break;
    case Ctl::编辑框_服务器密码:
      if (form.Text(field).empty()) message = "服务器密码 不能为空！";
      break;
    case Ctl::组合框_服务器协议:
      if (form.ComboSelection(field) == -1) message = "服务器协议 不能为空！";
      break;
    default:
      break;
  }
  if (!message) return false;
  form.ShowMessage(message, "错误");
  form.SelectRow(Ctl::超级列表框_服务器列表, app.nodes.current);
  form.Focus(field);
  return true;
}

void ShowServerEditor(AppContext& app) {
  if (app.form.WindowVisible()) return;
  app.form.SetCurrentPage(Ctl::选择夹1, 0);
  app.form.SetWindowVisible(true);
}
