#include "engine/stale_proxy.h"

#include "context/app_context.h"
#include "system/user_proxy.h"

void ClearStaleSystemProxy(AppContext& app) {
  if (!app.engine || !app.system) return;
  // A brook.exe running now is never this program's: its own engine runs in
  // a job object that ends it with the program, however the program ended.
  // It belongs to someone else (a manual start, another tool), and a proxy
  // left by the killed run still points at a dead listener. (Where no job
  // could be had, before Windows 8, an orphan engine may answer there;
  // clearing its proxy then only sends browsers direct.)
  GiveBackSystemProxy(app);
}
