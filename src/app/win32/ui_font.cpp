#include "app/win32/ui_font.h"

namespace {

constexpr char kUiFontFace[] = "Microsoft YaHei";
constexpr int kUiFontPoints = 9;

}  // namespace

HFONT MakeFont(const char* face, int pixelHeight) {
  LOGFONTA font{};
  font.lfHeight = -pixelHeight;
  font.lfWeight = FW_NORMAL;
  // The faces are Chinese; the charset lets the font mapper fall back to
  // another Chinese face where this one is missing.
  font.lfCharSet = GB2312_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
  return CreateFontIndirectA(&font);
}

HFONT MakeUiFont(UINT dpi) { return MakeFont(kUiFontFace, MulDiv(kUiFontPoints, static_cast<int>(dpi), 72)); }

void SetFont(HWND window, HFONT font, bool redraw) {
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
}
