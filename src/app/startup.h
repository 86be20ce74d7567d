#pragma once
// Startup, exit and the window's life.
struct AppContext;

enum class StartupResult { Continue, ExitNow };

// Runs when the (still hidden) main window has been created. ExitNow means
// another copy runs: the caller ends the process with exit code 0.
StartupResult RunStartupSequence(AppContext& app);

// The tray item "退出": saves, then destroys the window; a save that fails
// is reported and the program stays.
void ExitProgram(AppContext& app);

// The window's destroyed event.
void OnWindowDestroyed(AppContext& app);

// Windows ends the session (log-off, shutdown). The window is not destroyed
// then, so what the exit does happens here: the settings are saved, the
// engine ends, the DNS comes back and the system proxy is cleared unless
// direct mode is checked. Every command keeps working afterwards, should the
// session go on.
void OnSessionEnding(AppContext& app);

// Windows asks the program to close at the end of a session (as installers
// do) and may end it as soon as it has its answer: everything the session's
// end settles is settled now, without a pause or a box, and the tray icon
// goes. The window is then destroyed with nothing left for its destroyed
// event to do.
void OnCloseAsked(AppContext& app);
