#include "app/startup.h"

#include <string>

#include "context/app_context.h"
#include "app/launch_origin.h"
#include "app/tray_startup.h"
#include "context/version.h"
#include "app/window_handlers.h"
#include "config/configuration.h"
#include "config/node_list.h"
#include "diag/all_node_latency.h"
#include "engine/engine_start.h"
#include "engine/engine_stop.h"
#include "engine/stale_proxy.h"
#include "tray/tray_icon.h"
#include "update/update_check.h"

StartupResult RunStartupSequence(AppContext& app) {
  Form& form = app.form;
  if (!app.platform.instance.Claim(kSingleInstanceEvent)) {
    form.ShowMessage("不能重复运行Corvane！", "错误");
    return StartupResult::ExitNow;
  }

  form.SetTitle("Corvane    v" + std::string(kVersionText));
  form.SetStatusText(0, " 当前版本：v" + std::string(kVersionText));

  LoadConfiguration(app);
  SplitEnginePath(app);
  ShowStoppedTrayIcon(app);

  // What the user sees comes first; the rest of the start shows nothing.
  // A Corvane that was killed while its proxy was set left the user
  // offline; with no engine running that proxy is gone for good. Put right
  // before the workers start, so their connectivity probe goes direct.
  // The logon's restore of a crashed run may be at work: one after the other.
  app.platform.instance.LockRecovery();
  ClearStaleSystemProxy(app);
  app.platform.instance.UnlockRecovery();
  // The update check and the PAC source host fetch, on workers of their own.
  StartUpdateWorkers(app);

  if (LaunchedFromShell(app.platform.processes.Snapshot(), app.platform.location.ExecutableName())) {
    form.SetCurrentPage(Ctl::选择夹1, 0);
    form.SetWindowVisible(true);
  } else {
    // Started by another program (logon, a script): the saved node starts
    // at once, without a success balloon.
    StartEngine(app, true);
  }
  return StartupResult::Continue;
}

void ExitProgram(AppContext& app) {
  // Ending with a failed save would lose the edits: unless the user says
  // so, the program stays, and the user can close whatever holds the file
  // and choose "退出" again. Ending still cleans up: the window's destroyed
  // event ends the engine and gives the proxy back.
  FileResult saved = SaveNodeList(app);
  if (saved) saved = SaveMoreSettings(app);
  if (!MayEndAfterSave(app, saved)) return;
  app.form.DestroyWindow();
}

void OnWindowDestroyed(AppContext& app) {
  // A latency test of many nodes would hold the end up.
  StopAllNodeLatency(app);
  CleanupOnExit(app);
  // Now, not when the program object goes: a worker still busy then is cut
  // short with the process, and an icon left behind would stay in the
  // notification area until the mouse passes over it.
  if (app.tray) app.tray->RemoveIcon();
}

void OnSessionEnding(AppContext& app) {
  // Windows ends the process soon after: one try each, no pause, no box.
  app.config.StopWaiting();
  SaveNodeList(app);
  SaveMoreSettings(app);
  CleanupOnExit(app);
}

void OnCloseAsked(AppContext& app) {
  OnSessionEnding(app);
  if (app.tray) app.tray->RemoveIcon();
}
