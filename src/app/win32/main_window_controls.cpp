// Making the main window's controls from the design table and placing them
// at the monitor's DPI.
#include "app/win32/main_window.h"

#include <commctrl.h>

#include "app/win32/dpi.h"
#include "app/win32/ui_font.h"

namespace {

constexpr char kProtocolFontFace[] = "黑体";
constexpr int kProtocolFontPixels = 14;
constexpr int kTooltipWidth = 560;
constexpr int kLatencyColumnWidth = 60;  // at 96 DPI

struct ControlClass {
  const char* className;
  DWORD style;
  DWORD exStyle;
};

ControlClass ClassFor(const ControlSpec& design) {
  switch (design.kind) {
    case ControlKind::ListView:
      return {WC_LISTVIEWA,
              WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
              WS_EX_CLIENTEDGE};
    case ControlKind::Button:
      return {"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::GroupBox:
      return {"BUTTON", BS_GROUPBOX, 0};
    case ControlKind::Label:
      return {"STATIC", SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX, 0};
    case ControlKind::Edit: {
      DWORD style = WS_TABSTOP | ES_AUTOHSCROLL;
      if (design.style & kDigitsOnly) style |= ES_NUMBER;
      if (design.style & kPassword) style |= ES_PASSWORD;
      if (design.style & kReadOnly) style |= ES_READONLY;
      return {"EDIT", style, WS_EX_CLIENTEDGE};
    }
    case ControlKind::CheckBox:
      return {"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0};
    case ControlKind::ComboBox:
      return {WC_COMBOBOXA, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
  }
  return {"STATIC", 0, 0};
}

// The page a control sits on; a control in a group box shares its page.
int PageOf(const ControlSpec& design) {
  if (design.parent == Parent::Group) {
    const ControlSpec* group = FindControl(design.group);
    return group && group->parent == Parent::Page1 ? 1 : 0;
  }
  return design.parent == Parent::Page1 ? 1 : 0;
}

// The design rectangle counted from the tab control's corner.
Rect96 OnTabControl(const ControlSpec& design) {
  Rect96 r = design.rect;
  if (design.parent == Parent::Group) {
    if (const ControlSpec* group = FindControl(design.group)) {
      r.left += group->rect.left;
      r.top += group->rect.top;
    }
  }
  return r;
}

// A drop-down list's selection field takes its height from its item height;
// the frame around it differs between themes, so measure and correct once.
void SetSelectionFieldHeight(HWND combo, int height) {
  const int frame = 6;
  SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - frame);
  RECT shown{};
  GetWindowRect(combo, &shown);
  const int error = (shown.bottom - shown.top) - height;
  if (error != 0)
    SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - frame - error);
}

}  // namespace

void MainWindow::MakeFonts(UINT dpi) {
  dpi_ = dpi;
  uiFont_ = MakeUiFont(dpi);
  comboFont_ = MakeFont(kProtocolFontFace, ScaleForDpi(kProtocolFontPixels, dpi));
}

void MainWindow::ApplyDpi(UINT dpi) {
  HFONT oldUi = uiFont_;
  HFONT oldCombo = comboFont_;
  MakeFonts(dpi);
  LayOutControls();
  // Only now do the controls no longer use the old fonts.
  if (oldUi) DeleteObject(oldUi);
  if (oldCombo) DeleteObject(oldCombo);
}

// Every control is made where it belongs, in its font: under Wine each
// later move or font change of a control costs a round trip to the server,
// and forty of them held the tray icon back.
void MainWindow::CreateControls() {
  const WindowDesign& design = MainWindowDesign();

  // Made first, then put below its pages' controls (see below): the tab
  // control draws the pages' background.
  tab_ = CreateWindowExA(0, WC_TABCONTROLA, "",
                         WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP, 0, 0,
                         0, 0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(Ctl::选择夹1)),
                         instance_, nullptr);
  // Tab-key navigation descends through the tab control into the pages.
  SetWindowLongPtrA(tab_, GWL_EXSTYLE, GetWindowLongPtrA(tab_, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
  for (int page = 0; page < 2; ++page) {
    std::string caption(design.pageCaptions[page]);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    SendMessageA(tab_, TCM_INSERTITEMA, page, reinterpret_cast<LPARAM>(&item));
    pages_[page] = CreateWindowExA(WS_EX_CONTROLPARENT, "CorvanePage", "",
                                   WS_CHILD | WS_CLIPSIBLINGS | (page == 0 ? WS_VISIBLE : 0), 0, 0,
                                   0, 0, tab_, nullptr, instance_, this);
  }

  status_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(Ctl::状态条1)), instance_,
                            nullptr);
  // Parts first: a part that does not exist takes no text.
  PlaceStatusBar();
  for (int part = 0; part < 3; ++part) {
    const std::string text(design.statusTexts[part]);
    SendMessageA(status_, SB_SETTEXTA, part, reinterpret_cast<LPARAM>(text.c_str()));
  }
  // After the status bar, so the tab control goes below it too.
  const RECT display = PlaceTabAndPages();

  for (const ControlSpec& design : MainWindowControls())
    controls_.push_back(CreateControl(design, display));

  // Group boxes go to the bottom of their page, so the controls inside them
  // get the mouse (and their tooltips) and are not painted over.
  const auto specs = MainWindowControls();
  for (std::size_t i = 0; i < specs.size(); ++i) {
    if (specs[i].kind == ControlKind::GroupBox)
      SetWindowPos(controls_[i], HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }

  ShowPage(0);
}

void MainWindow::AttachTooltips() {
  for (const ControlSpec& design : MainWindowControls()) {
    const std::string tip = TooltipFor(design.id);
    if (!tip.empty()) tooltip_.Attach(Control(design.id), tip);
  }
  // The controls are in place already: their areas were taken as attached.
  tooltip_.SetLook(uiFont_, ScaleForDpi(kTooltipWidth, dpi_));
}

HWND MainWindow::CreateControl(const ControlSpec& design, const RECT& display) {
  const ControlClass cls = ClassFor(design);
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | cls.style;
  if (design.style & kDisabled) style |= WS_DISABLED;
  const std::string caption(design.caption);
  const RECT place = PlaceOnPage(design, display);
  HWND control = CreateWindowExA(cls.exStyle, cls.className, caption.c_str(), style, place.left,
                                 place.top, place.right - place.left, place.bottom - place.top,
                                 pages_[PageOf(design)],
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)), instance_,
                                 nullptr);
  if (!control) return nullptr;
  // Not shown yet: nothing to repaint.
  SetFont(control, FontFor(design), false);

  switch (design.kind) {
    case ControlKind::ListView: {
      SendMessageA(control, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                   LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
      // The node, and its latency once tested; a click on "延迟" sorts.
      char node[] = "服务器";
      char latency[] = "延迟";
      LVCOLUMNA column{};
      column.mask = LVCF_WIDTH | LVCF_TEXT;
      column.pszText = node;
      SendMessageA(control, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
      column.pszText = latency;
      SendMessageA(control, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
      break;
    }
    case ControlKind::Edit:
      // Visual styles would mask with a dot; the design masks with '*'.
      if (design.style & kPassword) SendMessageA(control, EM_SETPASSWORDCHAR, '*', 0);
      break;
    case ControlKind::ComboBox:
      for (std::string_view item : MainWindowDesign().protocolItems) {
        const std::string text(item);
        SendMessageA(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
      }
      break;
    default:
      break;
  }
  FitToPlace(control, design);
  return control;
}

HFONT MainWindow::FontFor(const ControlSpec& design) const {
  return design.kind == ControlKind::ComboBox ? comboFont_ : uiFont_;
}

RECT MainWindow::PlaceOnPage(const ControlSpec& design, const RECT& display) const {
  const auto px = [this](int designPixels) { return ScaleForDpi(designPixels, dpi_); };
  const Rect96 r = OnTabControl(design);
  // A drop-down list's height includes its open list.
  const int height = design.kind == ControlKind::ComboBox ? px(r.height + 120) : px(r.height);
  const int left = px(r.left) - display.left;
  const int top = px(r.top) - display.top;
  return {left, top, left + px(r.width), top + height};
}

// What a control's size decides beyond its rectangle.
void MainWindow::FitToPlace(HWND control, const ControlSpec& design) const {
  if (design.kind == ControlKind::ComboBox)
    SetSelectionFieldHeight(control, ScaleForDpi(OnTabControl(design).height, dpi_));
  if (design.kind == ControlKind::ListView) {
    // The two columns as wide as the list, leaving room for a vertical
    // scroll bar; "延迟" just fits "9999 ms".
    RECT client{};
    GetClientRect(control, &client);
    const int latencyWidth = ScaleForDpi(kLatencyColumnWidth, dpi_);
    SendMessageA(control, LVM_SETCOLUMNWIDTH, 0, client.right - GetSystemMetrics(SM_CXVSCROLL) - latencyWidth);
    SendMessageA(control, LVM_SETCOLUMNWIDTH, 1, latencyWidth);
  }
}

// The tab control at its place; the pages cover its display area, which
// depends on the height of the tab headers and so on the font. Returns
// that area.
RECT MainWindow::PlaceTabAndPages() {
  const auto px = [this](int designPixels) { return ScaleForDpi(designPixels, dpi_); };
  const Rect96& tab = MainWindowDesign().tab;
  SetFont(tab_, uiFont_, false);
  SetWindowPos(tab_, HWND_BOTTOM, px(tab.left), px(tab.top), px(tab.width), px(tab.height),
               SWP_NOACTIVATE);
  RECT display{};
  GetClientRect(tab_, &display);
  SendMessageA(tab_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  for (HWND page : pages_)
    SetWindowPos(page, nullptr, display.left, display.top, display.right - display.left,
                 display.bottom - display.top, SWP_NOZORDER | SWP_NOACTIVATE);
  return display;
}

void MainWindow::PlaceStatusBar() {
  SetFont(status_, uiFont_, false);
  // The status bar docks itself at the bottom on WM_SIZE.
  SendMessageA(status_, WM_SIZE, 0, 0);
  int rightEdges[3];
  int edge = 0;
  for (int part = 0; part < 3; ++part)
    rightEdges[part] = edge += ScaleForDpi(MainWindowDesign().statusWidths[part], dpi_);
  SendMessageA(status_, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(rightEdges));
}

// The window moved to a monitor with another DPI: everything again, in the
// new fonts.
void MainWindow::LayOutControls() {
  const RECT display = PlaceTabAndPages();
  const auto specs = MainWindowControls();
  for (std::size_t i = 0; i < specs.size(); ++i) {
    HWND control = controls_[i];
    if (!control) continue;
    const RECT place = PlaceOnPage(specs[i], display);
    SetFont(control, FontFor(specs[i]), false);
    SetWindowPos(control, nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    FitToPlace(control, specs[i]);
  }
  PlaceStatusBar();
  tooltip_.Relayout(uiFont_, ScaleForDpi(kTooltipWidth, dpi_));
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void MainWindow::ShowPage(int page) {
  for (int i = 0; i < 2; ++i) ShowWindow(pages_[i], i == page ? SW_SHOW : SW_HIDE);
}
