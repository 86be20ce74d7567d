#pragma once
struct AppContext;

// Puts the stopped icon with its tip into the notification area and hooks
// the tray events to the main window.
void ShowStoppedTrayIcon(AppContext& app);
