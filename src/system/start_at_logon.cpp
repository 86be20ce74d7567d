#include "system/start_at_logon.h"

#include "context/app_context.h"
#include "system/system_services.h"

namespace {

const std::string kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kValueName = "Corvane";
constexpr auto kMachine = RegistryRoot::LocalMachine;

}  // namespace

std::string QuotedProgramPath(AppContext& app) {
  ProgramLocation& location = app.platform.location;
  std::string quoted = "\"";
  quoted.append(location.ProgramDirectory()).append("\\").append(location.ExecutableName()).append("\"");
  return quoted;
}

void SetStartAtLogon(AppContext& app) {
  Registry& registry = app.system->registry;
  Form& form = app.form;
  if (form.Checked(Ctl::选择框_开机启动)) {
    registry.SetString(kMachine, kRunKey, kValueName, QuotedProgramPath(app));
    if (!registry.ValueExists(kMachine, kRunKey, kValueName)) {
      form.ShowMessage("设置开机启动失败！可能是没有权限导致的，请尝试[以管理员方式运行] Corvane 重试。", "错误");
      form.SetChecked(Ctl::选择框_开机启动, false);
      return;
    }
    app.config.Write("BasisConfig", "Run", "true");
  } else {
    registry.DeleteValue(kMachine, kRunKey, kValueName);
    if (registry.ValueExists(kMachine, kRunKey, kValueName)) {
      form.ShowMessage("取消开机启动失败！可能是没有权限导致的，请尝试[以管理员方式运行] Corvane 重试。", "错误");
      form.SetChecked(Ctl::选择框_开机启动, true);
      return;
    }
    app.config.Write("BasisConfig", "Run", "false");
  }
}
