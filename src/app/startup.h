#pragma once
// Startup, exit and the window's life.
struct AppContext;

enum class StartupResult { Continue, ExitNow };

// Runs when the (still hidden) main window has been created. ExitNow means
// another copy runs: the caller ends the process with exit code 0.
StartupResult RunStartupSequence(AppContext& app);

// The tray item "退出": saves, then destroys the window.
void ExitProgram(AppContext& app);

// The window's destroyed event.
void OnWindowDestroyed(AppContext& app);
