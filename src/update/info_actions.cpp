#include "update/info_actions.h"

#include "context/app_context.h"
#include "context/version.h"
#include "system/system_services.h"
#include "update/maker_addresses.h"

void OpenHelpPage(AppContext& app) { app.system->shell.OpenAddress(CORVANE_HELP_URL); }

void ShowAbout(AppContext& app) {
  app.form.ShowMessage("当前版本：v" + std::string(kVersionText) + "\r\n官方网站：" + CORVANE_SITE_URL + "\r\n",
                       "关于");
}

void OpenDonationPage(AppContext& app) { app.system->shell.OpenAddress(CORVANE_DONATE_URL); }
