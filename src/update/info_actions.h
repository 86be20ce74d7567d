#pragma once
// The "帮助" submenu's information items.
struct AppContext;

void OpenHelpPage(AppContext& app);      // "使用方法"
void ShowAbout(AppContext& app);         // "关于..."
void OpenDonationPage(AppContext& app);  // "捐赠...", a hidden item
