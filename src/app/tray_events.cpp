// Clicks on the tray icon and news from the notification area.
#include "context/app_context.h"
#include "app/events.h"
#include "tray/tray_icon.h"
#include "app/window_handlers.h"

void OnTrayEvent(AppContext& app, int code) {
  switch (code) {
    case TrayEvent::LeftButtonUp:
    case TrayEvent::LeftDoubleClick:
      // Back from the tray always on the first page; a window already in
      // view is left as it is, with no page switch and no activation.
      ShowServerEditor(app);
      break;
    case TrayEvent::RightButtonUp:
      app.form.PopupTrayMenu();
      break;
    case TrayEvent::TaskbarCreated:
      // A new taskbar starts empty; without the icon a hidden window could
      // not be reached any more.
      if (app.tray) app.tray->Readd();
      break;
    default:
      break;
  }
}
