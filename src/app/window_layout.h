#pragma once
// The main window as designed: every control, where it sits (at 96 DPI),
// its caption and its state at creation. The Win32 window is built from this
// table and the fake form of the tests starts from it, so both agree.
#include <span>
#include <string>
#include <string_view>

#include "context/controls.h"

enum class ControlKind { ListView, Button, GroupBox, Label, Edit, CheckBox, ComboBox };

// Where a control sits: on a tab page, or inside a group box of a page.
enum class Parent { Page0, Page1, Group };

enum ControlStyle : unsigned {
  kNoStyle = 0,
  kDigitsOnly = 1u << 0,  // integer entry only
  kPassword = 1u << 1,    // masked with '*'
  kReadOnly = 1u << 2,
  kDisabled = 1u << 3,    // disabled at creation
};

struct Rect96 {
  int left, top, width, height;
};

struct ControlSpec {
  Ctl id;
  ControlKind kind;
  Parent parent;
  Ctl group;  // the group box holding it, when parent is Parent::Group
  Rect96 rect;
  std::string_view caption;  // caption or initial content (GBK)
  unsigned style;
};

struct WindowDesign {
  Rect96 outer;  // position and size of the window itself
  Rect96 tab;    // 选择夹1, on the window's client area
  std::string_view pageCaptions[2];
  int statusWidths[3];
  std::string_view statusTexts[3];
  std::string_view protocolItems[3];  // items of 组合框_服务器协议
};

const WindowDesign& MainWindowDesign();
std::span<const ControlSpec> MainWindowControls();
const ControlSpec* FindControl(Ctl id);

// The tooltip shown over a control, or empty when it has none.
std::string TooltipFor(Ctl id);
