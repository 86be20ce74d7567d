#pragma once
// The two fetches from the maker's version server: the update check and the
// host PAC templates are downloaded from. Both end silently when offline.
struct AppContext;

// Startup: the built-in PAC source host, then both fetches, each on a
// worker thread of its own.
void StartUpdateWorkers(AppContext& app);

// "检查更新" and startup. Update checks never overlap: one asked for while
// another runs is dropped, since the running one reports the same answer.
void StartUpdateCheck(AppContext& app);
// The update check's body: a newer release shows in a balloon and in the
// window title. The version file it downloads is gone when it returns.
void CheckForUpdate(AppContext& app);
// Reads the PAC source host from "/new_softs.txt"; an answer that is no
// host (empty, an error status, an error page) gives the built-in default.
void FetchPacSourceHost(AppContext& app);
