#pragma once
// The QR code window, recording what it was asked to show.
#include <string>
#include <string_view>

#include "context/qr_code_window.h"

class FakeQrCodeWindow : public QrCodeWindow {
 public:
  int shows = 0;
  std::string link;
  QrModules code;
  void Show(std::string_view shownLink, const QrModules& shownCode) override {
    ++shows;
    link = shownLink;
    code = shownCode;
  }
};
