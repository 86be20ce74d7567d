#include "app/win32/shared_tooltip.h"

#include <commctrl.h>

namespace {

constexpr int kShowForMilliseconds = 30000;  // the VPN tips take a while to read

// A tool whose area is the control's rectangle on its parent. A disabled
// control gets no mouse messages: they reach the parent instead, where this
// tool catches them.
TOOLINFOA AreaTool(HWND control) {
  TOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = GetParent(control);
  tool.uId = static_cast<UINT_PTR>(GetDlgCtrlID(control));
  GetWindowRect(control, &tool.rect);
  MapWindowPoints(nullptr, tool.hwnd, reinterpret_cast<POINT*>(&tool.rect), 2);
  return tool;
}

// A tool that is the control itself, for when the control is enabled and
// takes the mouse messages.
TOOLINFOA WindowTool(HWND control) {
  TOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.uFlags = TTF_SUBCLASS | TTF_IDISHWND;
  tool.hwnd = GetParent(control);
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  return tool;
}

}  // namespace

HWND SharedTooltip::Window(HWND anyControl) {
  if (!tip_) {
    HWND owner = GetAncestor(anyControl, GA_ROOT);
    tip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                           WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE)),
                           nullptr);
    if (tip_) SendMessageA(tip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, kShowForMilliseconds);
  }
  return tip_;
}

void SharedTooltip::Attach(HWND control, const std::string& text) {
  if (!control || !Window(control)) return;
  AddTools(control, text);
  controls_.push_back(control);
}

void SharedTooltip::AddTools(HWND control, const std::string& text) {
  // The tooltip copies the text when the tool is added.
  char* shown = const_cast<char*>(text.c_str());
  TOOLINFOA window = WindowTool(control);
  window.lpszText = shown;
  SendMessageA(tip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&window));
  TOOLINFOA area = AreaTool(control);
  area.lpszText = shown;
  SendMessageA(tip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&area));
}

void SharedTooltip::SetLook(HFONT font, int maxWidth) {
  if (!tip_) return;
  SendMessageA(tip_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  // Without a maximum width the tooltip ignores line breaks.
  SendMessageA(tip_, TTM_SETMAXTIPWIDTH, 0, maxWidth);
}

void SharedTooltip::Relayout(HFONT font, int maxWidth) {
  if (!tip_) return;
  SetLook(font, maxWidth);
  for (HWND control : controls_) {
    TOOLINFOA area = AreaTool(control);
    SendMessageA(tip_, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&area));
  }
}
