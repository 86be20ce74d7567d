#include "engine/stale_proxy.h"

#include "context/app_context.h"
#include "engine/engine_process.h"
#include "system/user_proxy.h"

void ClearStaleSystemProxy(AppContext& app) {
  if (!app.engine || !app.system) return;
  if (FindProcessByName(app.platform.processes, kEngineProcessName) != 0) return;
  GiveBackSystemProxy(app);
}
