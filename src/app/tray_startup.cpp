#include "app/tray_startup.h"

#include "context/app_context.h"
#include "app/events.h"
#include "tray/tray_icon.h"
#include "tray/tray_icon_images.h"
#include "tray/tray_tip.h"

void ShowStoppedTrayIcon(AppContext& app) {
  if (!app.tray) return;
  app.tray->AddIcon(app.form.WindowHandle(), StoppedIconData(),
                    StoppedTip(app.run.runMode, app.form.Text(Ctl::编辑框_本地端口)));
  app.tray->AttachWindow([&app](int code) { OnTrayEvent(app, code); });
}
