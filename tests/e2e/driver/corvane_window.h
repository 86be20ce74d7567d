#pragma once
// Drives the main window of a running copy from outside, as a user would:
// clicks, typing, focus changes, tab headers, tray-menu commands, tray icon
// clicks, files dropped on it. Controls are found by their ids (the values of
// Ctl), tray items by their design captions.
//
// Calls that may make the program show a modal box (clicks, commands, drops)
// are posted and return at once; Sync() waits until the program has handled
// them.
#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "context/controls.h"
#include "driver/program_run.h"
#include "driver/remote_memory.h"

namespace e2e {

inline constexpr char kMainWindowTitle[] = "Corvane    v1.0.10";
// What the shell sends the window for mouse activity on its tray icon.
inline constexpr UINT kTrayCallbackMessage = 11685;
inline constexpr int kTrayLeftButtonUp = WM_LBUTTONUP;

class CorvaneWindow {
 public:
  // The run's main window (the top-level window holding the tab control)
  // once the startup sequence has finished and the message loop waits;
  // nothing when that does not happen within `timeout` ms.
  static std::optional<CorvaneWindow> WaitFor(const ProgramRun& run, DWORD timeout);

  HWND Handle() const { return window_; }
  HWND Control(Ctl c) const;
  std::string Title() const;
  bool Visible() const;
  // Waits until the program has handled everything sent or posted so far,
  // or shows a modal box while doing so.
  bool Sync() const;

  // Controls.
  void Click(Ctl c) const;
  // Like typing: the program sees the content-changed event.
  bool SetText(Ctl c, std::string_view text) const;
  std::string Text(Ctl c) const;
  bool Checked(Ctl c) const;
  bool Enabled(Ctl c) const;
  // The control's lost-focus event, as when the user tabs away from it.
  void LeaveField(Ctl c) const;
  // Puts the keyboard focus on the control, as a click or the Tab key
  // would; the control that had it loses it. Returns once the focus has
  // moved, or once the program answers the move with a message box (the
  // move ends when the box is closed); false when the focus went elsewhere.
  bool Focus(Ctl c) const;
  // The control that has the keyboard focus in the program's thread.
  HWND FocusedControl() const;

  // The tab control 选择夹1: current page, and a click on a page's header.
  int CurrentPage() const;
  bool ShowPage(int page) const;
  bool PageVisible(int page) const;

  // The node list 超级列表框_服务器列表.
  std::vector<std::string> Rows() const;
  int SelectedRow() const;
  // A key pressed in the list (VK_DOWN, VK_HOME, ...), or a character
  // typed there, which selects the next row whose caption begins with it.
  bool KeyInList(WPARAM key, bool character = false) const;
  // The list's last column, "延迟", of one row and row by row.
  std::string RowDetail(int row) const;
  std::vector<std::string> RowDetails() const;
  // A left click on the header of the list's column `column`.
  bool ClickListHeader(int column) const;
  // Keys pressed and let go as the keyboard sends them (held down in order,
  // then let go in reverse), to the list with the window in front: the
  // menu key, Shift+F10.
  bool PressKeysInList(std::initializer_list<WORD> keys) const;
  // A click with the left or the right mouse button in the middle of a row;
  // row -1 clicks beside the rows, at the bottom of the list.
  bool ClickRow(int row, bool rightButton = false) const;

  // The status bar 状态条1, parts counted from 0.
  std::string StatusText(int part) const;

  // The tray: a menu item chosen by its design caption, and the icon's
  // mouse events as the shell reports them.
  void Command(std::string_view trayItem) const;
  void TrayEvent(int code) const;
  // A window property, e.g. one that the tray icon puts on the window.
  HANDLE Property(const char* name) const { return GetPropA(window_, name); }

  // The close box of the caption.
  void Close() const;
  // Files dropped on the window from the shell.
  bool DropFiles(const std::vector<std::string>& paths);

 private:
  CorvaneWindow(HWND window, HANDLE process, DWORD processId);

  HWND window_;
  HANDLE process_;
  DWORD processId_;
  // Dropped-file blocks live until the window driver goes.
  std::vector<RemoteMemory> drops_;
};

}  // namespace e2e
