#pragma once
// The automatic configuration address Windows receives in PAC mode.
#include <string>

struct AppContext;

// Points the local PAC server at the generated PAC file beside the engine
// and returns its address, http://127.0.0.1:<port>/<token>/pac?t=<n>, with
// a new n at every call so that no browser keeps an old script. The server
// starts listening at the first call, with a token drawn for this process.
// When it cannot listen, or there is no token, the file's own address
// ("file://" + engine directory + "pac") is returned instead.
std::string PublishPacFile(AppContext& app);

// The automatic configuration is cleared: the server answers 404 until the
// next PublishPacFile, even if a PAC file is left somewhere.
void WithdrawPacFile(AppContext& app);
