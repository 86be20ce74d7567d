#pragma once
// PAC mode while the engine runs: the PAC file is generated, served and
// handed to Windows, but only as a script browsers fetch and run.
#include <string>

struct AppContext;

// Points the system settings at a new address of the served PAC file.
// When there is no script to serve (no template yet, one without
// FindProxyForURL) or the PAC server cannot listen, the user's own settings
// stay in force (come back, if the program's were in place) and a balloon
// says why.
enum class PacModeOutcome {
  Applied,
  AppliedTooLarge,  // a balloon warns that Chromium refuses it
  NotApplied,       // a balloon said why
  Refused,          // the system refused the settings; a balloon said why
};
PacModeOutcome ApplyPacMode(AppContext& app);

enum class LivePacUpdate {
  NotLive,   // no engine runs in PAC mode from that folder: nothing applied
  Applied,
  Reported,  // applied or not, a balloon of its own has told the user
};
// A template just arrived in `engineDirectory`. While PAC mode is chosen
// and the engine runs, it is applied at once with a new address, so
// browsers fetch the new script. Safe from any thread: the work runs on
// the window's.
LivePacUpdate ApplyArrivedPacTemplate(AppContext& app, const std::string& engineDirectory);
