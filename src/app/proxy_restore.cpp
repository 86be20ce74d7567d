#include "app/proxy_restore.h"

#include "app/window_handlers.h"
#include "config/configuration.h"
#include "context/app_context.h"
#include "context/version.h"
#include "system/user_proxy.h"

void RunProxyRestore(AppContext& app) {
  if (!app.system) return;
  SingleInstance& instance = app.platform.instance;
  // A copy starting at the same logon waits here before its own recovery,
  // so it never takes over settings this run is still giving back.
  instance.LockRecovery();
  if (!instance.OtherInstanceHolds(kSingleInstanceEvent)) {
    // The local port and the engine's folder say which values are the
    // program's when no saved copy does.
    LoadConfiguration(app);
    SplitEnginePath(app);
    GiveBackSystemProxy(app);
  }
  instance.UnlockRecovery();
}
