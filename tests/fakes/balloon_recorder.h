#pragma once
// A real tray icon over a recording notification area, so that tests read
// the balloons exactly as the shell would get them.
#include <string>

#include "context/app_context.h"
#include "tray/tray_icon.h"
#include "fakes/fake_notification_area.h"

struct ShownBalloon {
  std::string title, text;
  BalloonIcon icon;
};

class BalloonRecorder {
 public:
  explicit BalloonRecorder(AppContext& app) { app.tray = &tray_; }
  std::size_t Count() const { return shell_.calls.size(); }
  ShownBalloon Last() const {
    const NotifyIconRecord& r = shell_.calls.back().record;
    return {r.balloonTitle, r.balloonText, static_cast<BalloonIcon>(r.balloonIcon)};
  }

 private:
  FakeNotificationArea shell_;
  TrayIcon tray_{shell_};
};
