#pragma once
// The small handlers of the main window that belong to no other subsystem.
#include <string>
#include <vector>

#include "context/controls.h"

struct AppContext;

// The folder part of 编辑框_文件位置, ending in "\" (empty without one).
std::string EngineDirectoryOf(const std::string& enginePath);
void SplitEnginePath(AppContext& app);

void BrowseForEngine(AppContext& app);
void EngineFilesDropped(AppContext& app, const std::vector<std::string>& paths);
void SwitchPasswordPlainText(AppContext& app);
// The node fields must not be left empty; returns true when a box was shown.
bool CheckFieldNotEmpty(AppContext& app, Ctl field);
void ShowServerEditor(AppContext& app);
