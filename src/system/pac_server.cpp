#include "system/pac_server.h"

#include "context/app_context.h"
#include "system/system_services.h"
#include "system/pac_file.h"
#include "system/pac_http.h"

std::string PublishPacFile(AppContext& app) {
  SystemServices& system = *app.system;
  const std::string generated = GeneratedPacPath(app);
  system.state.SetServedPacPath(generated);

  FileSystem& files = app.platform.files;
  const int port = system.pacServer.Listen([&system, &files](std::string_view request) {
    return PacHttpResponse(request, [&] {
      const std::string served = system.state.ServedPacPath();
      return served.empty() ? FileContent{ReadStatus::Missing, {}, {}} : files.ReadFile(served);
    });
  });
  if (port <= 0) return "file://" + generated;
  return "http://127.0.0.1:" + std::to_string(port) + "/pac?t=" + std::to_string(system.state.NextPacRequest());
}

void WithdrawPacFile(AppContext& app) { app.system->state.SetServedPacPath(""); }
