#include "system/logon_restore.h"

#include <string>

#include "context/app_context.h"
#include "system/start_at_logon.h"
#include "system/system_services.h"

namespace {

const std::string kRunOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const std::string kValueName = "Corvane proxy restore";

}  // namespace

void ArmLogonRestore(AppContext& app) {
  app.system->registry.SetString(RegistryRoot::CurrentUser, kRunOnceKey, kValueName,
                                 QuotedProgramPath(app) + " " + std::string(kRestoreProxySwitch));
}

void DisarmLogonRestore(AppContext& app) {
  app.system->registry.DeleteValue(RegistryRoot::CurrentUser, kRunOnceKey, kValueName);
}
