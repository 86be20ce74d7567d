#include "system/pac_file.h"

#include "context/app_context.h"
#include "context/listener.h"
#include "system/system_services.h"
#include "shared/bytes_as_text.h"
#include "system/pac_mode.h"
#include "system/pac_script.h"
#include "system/pac_template.h"
#include "system/tray_report.h"

std::string PacTemplatePath(const AppContext& app) { return app.engineDirectory + "pac.txt"; }

std::string GeneratedPacPath(const AppContext& app) { return app.engineDirectory + "pac"; }

std::string PacDownloadAddress(std::string_view host) {
  std::string address = host.find("://") == host.npos ? "https://" : "";
  address.append(host);
  address.append("/Other/pac.txt");
  return address;
}

GeneratedPac GeneratePacFile(AppContext& app) {
  FileSystem& files = app.platform.files;
  const FileContent content = files.ReadFile(PacTemplatePath(app));
  const std::string_view text = BytesAsText(content.bytes);
  if (text.empty()) {
    StartPacDownload(app);
    return {PacScriptState::NoTemplate};
  }
  if (!DefinesFindProxyForUrl(text)) return {PacScriptState::NotAScript};
  // The entry names what the running engine speaks, whatever the Run mode
  // says meanwhile.
  const std::string entry = PacProxyEntry(ActiveListener(app), app.form.Text(Ctl::编辑框_本地端口));
  const std::string script = FillPacTemplate(text, entry);
  if (!files.WriteNewFile(GeneratedPacPath(app), script)) return {PacScriptState::Unwritten};
  return {PacScriptState::Ready, script.size()};
}

namespace {

void ReportFailedDownload(AppContext& app, const std::string& address) {
  ReportInBalloon(app, "PAC 更新失败！", "原因：获取在线PAC内容为空或访问失败，请尝试手动下载覆盖：" + address,
                  BalloonIcon::Error);
}

// The new template goes to a file of its own first and then replaces the
// old one in one step, so a PAC file generated meanwhile never reads half
// a template.
bool StoreTemplate(FileSystem& files, const std::string& path, std::string_view body) {
  const std::string fresh = path + ".download";
  if (files.WriteNewFile(fresh, body) && files.ReplaceFile(fresh, path)) return true;
  files.RemoveFile(fresh);
  return false;
}

}  // namespace

void StartPacDownload(AppContext& app) {
  app.system->workers.Start([&app, directory = app.engineDirectory] { UpdatePacFile(app, directory); },
                            [&app] { ReportFailedDownload(app, PacDownloadAddress(app.system->state.PacSourceHost())); });
}

void UpdatePacFile(AppContext& app, const std::string& engineDirectory) {
  if (app.form.Text(Ctl::编辑框_文件位置).empty()) {
    app.form.ShowMessage("文件位置 不能为空！", "错误");
    return;
  }
  const std::string address = PacDownloadAddress(app.system->state.PacSourceHost());
  // An error status counts as no answer: a 404 page or a captive portal's
  // login page must never replace a working template.
  const std::string body = DownloadBody(app.system->downloader, address);

  // Only the text matters here; the bytes are stored exactly as they came,
  // line ends included.
  const std::string_view text = BytesAsText(body);
  if (text.empty()) {
    ReportFailedDownload(app, address);
    return;
  }
  // A portal or a host that answers every path with a page of its own says
  // 200 too: what is not a script would leave PAC mode without one.
  if (!DefinesFindProxyForUrl(text)) {
    ReportInBalloon(app, "PAC 更新失败！",
                    "原因：下载到的内容不是PAC文件（没有 FindProxyForURL 函数），本地PAC文件未改变。请尝试手动下载覆盖：" +
                        address,
                    BalloonIcon::Error);
    return;
  }
  if (StoreTemplate(app.platform.files, engineDirectory + "pac.txt", body)) {
    // PAC mode in force, or waiting for this template, gets it at once.
    switch (ApplyArrivedPacTemplate(app, engineDirectory)) {
      case LivePacUpdate::Applied:
        ReportInBalloon(app, "PAC 更新成功！", "最新 PAC文件已生效。", BalloonIcon::Info);
        break;
      case LivePacUpdate::NotLive:
        ReportInBalloon(app, "PAC 更新成功！", "如果当前正在运行，则需要重启代理后才能使应用最新 PAC文件！",
                        BalloonIcon::Info);
        break;
      case LivePacUpdate::Reported:
        break;  // its own balloon says what became of it
    }
  } else
    ReportInBalloon(app, "PAC 更新失败！", "原因：写入本地PAC文件失败，请尝试手动下载覆盖：" + address,
                    BalloonIcon::Error);
}

void ShowPacFile(AppContext& app) {
  const std::string pacTemplate = PacTemplatePath(app);
  if (!app.platform.files.FileExists(pacTemplate)) {
    app.form.ShowMessage("找不到PAC文件！请尝试使用 更新PAC文件 功能下载。", "错误");
    return;
  }
  app.system->shell.Launch("explorer.exe /e,/select," + pacTemplate);
}
