#pragma once
// Background work tells the user through a balloon at the tray icon. Before
// the icon exists (and in tests without one) the report is dropped.
#include <string_view>

#include "context/app_context.h"
#include "tray/tray_icon.h"

inline void ReportInBalloon(AppContext& app, std::string_view title, std::string_view text,
                            BalloonIcon kind) {
  if (app.tray) app.tray->ShowBalloon(title, text, kind);
}
