#include "links/share_qr_code.h"

#include <qrcodegen.h>

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
  // The encoder works in two buffers of a version-40 code; a link longer
  // than such a buffer cannot fit any version.
  std::vector<std::uint8_t> data(qrcodegen_BUFFER_LEN_MAX);
  std::vector<std::uint8_t> code(qrcodegen_BUFFER_LEN_MAX);
  if (link.size() > data.size()) return std::nullopt;
  std::copy(link.begin(), link.end(), data.begin());
  // Byte mode, level M, the smallest version that holds the link, never a
  // level raised behind the reader's back.
  if (!qrcodegen_encodeBinary(data.data(), link.size(), code.data(), qrcodegen_Ecc_MEDIUM, qrcodegen_VERSION_MIN,
                              qrcodegen_VERSION_MAX, qrcodegen_Mask_AUTO, /*boostEcl=*/false))
    return std::nullopt;
  const int size = qrcodegen_getSize(code.data());
  QrModules modules;
  modules.size = size + 2 * kQuietZone;
  modules.dark.assign(static_cast<std::size_t>(modules.size) * modules.size, 0);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      modules.dark[static_cast<std::size_t>(y + kQuietZone) * modules.size + x + kQuietZone] =
          qrcodegen_getModule(code.data(), x, y) ? 1 : 0;
  return modules;
}

int QrModulePixels(int dpi) { return std::max(kModulePixelsAt96Dpi, kModulePixelsAt96Dpi * dpi / 96); }

int QrModulePixels(int dpi, int modules, int room) {
  const int fitting = modules > 0 ? room / modules : 1;
  return std::max(1, std::min(QrModulePixels(dpi), fitting));
}

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
