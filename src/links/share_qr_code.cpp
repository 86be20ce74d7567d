#include "links/share_qr_code.h"

#include <qrcodegen.hpp>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "context/app_context.h"
#include "links/share_links.h"

namespace {

constexpr int kQuietZone = 4;  // modules of light margin on every side
constexpr int kModulePixelsAt96Dpi = 4;

}  // namespace

std::optional<QrModules> ShareLinkQrCode(std::string_view link) {
  using qrcodegen::QrCode;
  using qrcodegen::QrSegment;
  const std::vector<std::uint8_t> bytes(link.begin(), link.end());
  // The encoder reports a text too long for version 40 by an exception; it
  // ends here, as the plain answer "no code".
  try {
    const QrCode code = QrCode::encodeSegments({QrSegment::makeBytes(bytes)}, QrCode::Ecc::MEDIUM,
                                               QrCode::MIN_VERSION, QrCode::MAX_VERSION, -1,
                                               /*boostEcl=*/false);
    QrModules modules;
    modules.size = code.getSize() + 2 * kQuietZone;
    modules.dark.assign(static_cast<std::size_t>(modules.size) * modules.size, 0);
    for (int y = 0; y < code.getSize(); ++y)
      for (int x = 0; x < code.getSize(); ++x)
        modules.dark[static_cast<std::size_t>(y + kQuietZone) * modules.size + x + kQuietZone] =
            code.getModule(x, y) ? 1 : 0;
    return modules;
  } catch (const qrcodegen::data_too_long&) {
    return std::nullopt;
  }
}

int QrModulePixels(int dpi) { return std::max(kModulePixelsAt96Dpi, kModulePixelsAt96Dpi * dpi / 96); }

void ShowShareQrCode(AppContext& app) {
  if (!app.qrWindow || !FieldsReadyForLink(app.form)) return;
  const std::string link = RunShareLinkCodec(app, LinkCodecMode::Generate, {});
  const std::optional<QrModules> code = ShareLinkQrCode(link);
  if (!code) {
    app.form.ShowMessage("分享链接太长，无法生成二维码！", "错误");
    return;
  }
  app.qrWindow->Show(link, *code);
}
