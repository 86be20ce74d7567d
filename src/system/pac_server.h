#pragma once
// The automatic configuration address Windows receives in PAC mode.
#include <string>

struct AppContext;

// Points the local PAC server at the generated PAC file beside the engine
// and returns its address, http://127.0.0.1:<port>/<token>/pac?t=<n>, with
// a new n at every call so that no browser keeps an old script. The server
// starts listening at the first call, with a token drawn for this process.
// Empty when it cannot listen or there is no token: the file's own file://
// address is no answer, as neither WinHTTP nor Chromium fetches it.
std::string PublishPacFile(AppContext& app);

// The automatic configuration is cleared: the server answers 404 until the
// next PublishPacFile, even if a PAC file is left somewhere.
void WithdrawPacFile(AppContext& app);
