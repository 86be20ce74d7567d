#include "system/pac_server.h"

#include "context/app_context.h"
#include "system/system_services.h"
#include "system/pac_file.h"
#include "system/pac_http.h"
#include "system/pac_token.h"

std::string PublishPacFile(AppContext& app) {
  SystemServices& system = *app.system;
  const std::string generated = GeneratedPacPath(app);
  system.state.SetServedPacPath(generated);

  PacServing serving = system.state.PacServer();
  if (serving.token.empty()) {
    serving.token = NewPacToken(system.random);
    // Without a secret the script would be anyone's to read.
    if (serving.token.empty()) return {};
    FileSystem& files = app.platform.files;
    serving.port = system.pacServer.Listen([&system, &files](std::string_view request) {
      return PacHttpResponse(request, system.state.PacServer(), [&] {
        const std::string served = system.state.ServedPacPath();
        return served.empty() ? FileContent{ReadStatus::Missing, {}, {}} : files.ReadFile(served);
      });
    });
    if (serving.port <= 0) return {};
    system.state.SetPacServer(serving);
  }
  return "http://127.0.0.1:" + std::to_string(serving.port) + "/" + serving.token +
         "/pac?t=" + std::to_string(system.state.NextPacRequest());
}

void WithdrawPacFile(AppContext& app) { app.system->state.SetServedPacPath(""); }
