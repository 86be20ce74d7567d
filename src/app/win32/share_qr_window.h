#pragma once
// The window "分享二维码": the share link as a QR code drawn with crisp
// square modules, the link in a read-only edit box below it, and the buttons
// "复制链接" and "关闭" (Esc closes too). Owned by the main window; one at a
// time, made when first shown and destroyed when closed.
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "context/qr_code_window.h"

// Control ids; the close button is IDCANCEL, which Esc sends.
inline constexpr int kQrLinkEditId = 101;
inline constexpr int kQrCopyButtonId = 102;

class ShareQrWindow final : public QrCodeWindow {
 public:
  using CopyLink = std::function<void(const std::string& link)>;
  ShareQrWindow(HINSTANCE instance, HWND owner, CopyLink copyLink);
  ~ShareQrWindow() override;
  ShareQrWindow(const ShareQrWindow&) = delete;
  ShareQrWindow& operator=(const ShareQrWindow&) = delete;

  void Show(std::string_view link, const QrModules& code) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool Create();
  // Sizes the window to the code at `dpi` and places its controls.
  void LayOut(UINT dpi, const RECT* suggested);
  void Paint();

  HINSTANCE instance_;
  HWND owner_;
  CopyLink copyLink_;
  HWND hwnd_ = nullptr;
  HWND edit_ = nullptr;
  HWND copyButton_ = nullptr;
  HWND closeButton_ = nullptr;
  HFONT font_ = nullptr;
  std::string link_;
  QrModules code_;
  RECT codeArea_{};  // client pixels of the code, the quiet zone included
  int modulePixels_ = 4;
};
