#pragma once
// The main window on real Win32 controls: the tab control 选择夹1 with one
// child window per page, the status bar, and the states of the tray menu's
// items, which exist only as records until the menu pops up.
//
// Every control sits on the window of its page (a child of the tab control
// covering its display area); a control inside a group box is a sibling of
// that group box on the same page. The design positions of page controls
// count from the tab control's corner, so each is moved by the display
// area's offset.
#include <windows.h>

#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "app/events.h"
#include "context/form.h"
#include "app/window_layout.h"
#include "app/win32/shared_tooltip.h"

struct AppContext;

// Timer ids of delayed posted calls start here, clear of any other timer.
inline constexpr UINT_PTR kFirstPostedTimer = 0x5000;

class MainWindow final : public Form {
 public:
  explicit MainWindow(HINSTANCE instance);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Makes the window, invisible, with all its controls; false when Windows
  // refuses.
  bool Create();
  // From here on the window's events reach the program's behaviour.
  void Attach(AppContext& app) { app_ = &app; }
  HWND Handle() const { return hwnd_; }
  // Runs until the window is destroyed; returns the process exit code.
  int RunMessageLoop();

  // Form
  std::string Text(Ctl c) const override;
  void SetText(Ctl c, std::string_view text) override;
  bool Enabled(Ctl c) const override;
  void SetEnabled(Ctl c, bool enabled) override;
  bool Checked(Ctl c) const override;
  void SetChecked(Ctl c, bool checked) override;
  void SetPasswordEntry(Ctl c, bool masked) override;
  bool PasswordEntry(Ctl c) const override;
  void Focus(Ctl c) override;

  int RowCount(Ctl list) const override;
  std::string RowCaption(Ctl list, int row) const override;
  void AddRow(Ctl list, std::string_view caption) override;
  void SetRowCaption(Ctl list, int row, std::string_view caption) override;
  void RemoveRow(Ctl list, int row) override;
  int SelectedRow(Ctl list) const override;
  void SelectRow(Ctl list, int row) override;
  void SetListRedraw(Ctl list, bool redraw) override;
  void SetRowDetail(Ctl list, int row, std::string_view text) override;
  void PopupListMenu(std::span<const PopupEntry> items) override;

  int ComboSelection(Ctl combo) const override;
  void SetComboSelection(Ctl combo, int index) override;

  int CurrentPage(Ctl tab) const override;
  void SetCurrentPage(Ctl tab, int page) override;

  std::string StatusText(int part) const override;
  void SetStatusText(int part, std::string_view text) override;

  std::string Title() const override;
  void SetTitle(std::string_view text) override;
  bool WindowVisible() const override;
  void SetWindowVisible(bool visible) override;
  void DestroyWindow() override;
  std::uintptr_t WindowHandle() const override;

  bool MenuChecked(std::string_view item) const override;
  void SetMenuChecked(std::string_view item, bool checked) override;
  bool MenuEnabled(std::string_view item) const override;
  void SetMenuEnabled(std::string_view item, bool enabled) override;
  std::string MenuCaption(std::string_view item) const override;
  void SetMenuCaption(std::string_view item, std::string_view caption) override;

  void ShowMessage(std::string_view text, std::string_view title) override;
  bool AskYesNo(std::string_view text, std::string_view title) override;
  void PopupTrayMenu() override;
  void RunOnWindowThread(const std::function<void()>& task) override { OnWindowThread(task); }
  void Post(std::function<void()> call, unsigned delayMilliseconds) override;

 private:
  // What the pop-up shows of one tray-menu item; kept in the order of
  // TrayMenuItems().
  struct MenuItemState {
    std::string caption;
    bool checked;
    bool enabled;
    bool visible;
  };

  // main_window_controls.cpp: making and placing the controls.
  void CreateControls();
  HWND CreateControl(const ControlSpec& design, const RECT& display);
  // Tooltips matter only once the mouse is over the window: attached when
  // the start is over.
  void AttachTooltips();
  void MakeFonts(UINT dpi);
  // Makes the fonts for `dpi` and places everything in the window again.
  void ApplyDpi(UINT dpi);
  void LayOutControls();
  RECT PlaceTabAndPages();
  void PlaceStatusBar();
  RECT PlaceOnPage(const ControlSpec& design, const RECT& display) const;
  void FitToPlace(HWND control, const ControlSpec& design) const;
  HFONT FontFor(const ControlSpec& design) const;
  void ShowPage(int page);

  // main_window.cpp: messages.
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id, int code);
  void OnNotify(const NMHDR& header);
  void OnMenuItemChosen(int commandId);
  void OnDropFiles(HDROP drop);
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void OnSessionEnding(bool closeRequested);
  void Raise(Ctl control, ControlEvent event);
  // main_window_posted.cpp: posted calls, at once or when their timer fires.
  void RunPosted(WPARAM delay, LPARAM call);
  bool RunPostedLater(UINT_PTR timer);

  // main_window_list.cpp: the node list's selection.
  void WatchList();
  static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
  void OnListNotify(const NMHDR& header);
  void ReportListSelection(int row);
  void SettleListSelection();
  // main_window_list_menu.cpp: the list's own menu, asked for at `at`
  // (screen coordinates), or by the keyboard when `at` is (-1, -1).
  void AskForListMenu(POINT at);
  bool IsListMenuKey(UINT message, WPARAM key) const;
  // Runs a change the program makes to the list (rows, selection) without
  // reporting it as the user's.
  void ChangeListQuietly(const std::function<void(HWND list)>& change);

  // main_window_menu.cpp: the tray menu.
  HMENU BuildTrayMenu() const;
  MenuItemState* FindMenuState(std::string_view item);
  const MenuItemState* FindMenuState(std::string_view item) const;

  // The window's handle for a control; the tab control and the status bar too.
  HWND Control(Ctl c) const;

  // Runs `call` on the window's thread and returns its result. Worker
  // threads wait in SendMessage until the window's thread has run it.
  template <class Call>
  auto OnWindowThread(Call&& call) const -> decltype(call());

  HINSTANCE instance_;
  DWORD threadId_;
  AppContext* app_ = nullptr;
  // Read by worker threads (their calls are sent to it) while the window's
  // thread clears it as the window goes.
  std::atomic<HWND> hwnd_{nullptr};
  HWND tab_ = nullptr;
  HWND status_ = nullptr;
  HWND pages_[2] = {};
  std::vector<HWND> controls_;  // in the order of MainWindowControls()
  WNDPROC listProc_ = nullptr;  // the node list's own procedure
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  HFONT uiFont_ = nullptr;
  HFONT comboFont_ = nullptr;
  SharedTooltip tooltip_;
  std::vector<MenuItemState> menu_;
  int listSelection_ = -1;  // the list's selected row as last reported or set by the program
  int rowAtPress_ = -1;     // the selected row when the mouse button last went down on the list
  bool changingList_ = false;
  // Posted calls waiting for their timer, by timer id; window thread only.
  std::map<UINT_PTR, std::function<void()>> postedLater_;
  UINT_PTR nextPostedTimer_ = kFirstPostedTimer;
  bool showBoxes_ = true;  // false while the session ends
  POINT listMenuAt_{-1, -1};  // where the list's menu was last asked for
};

// The private message that carries a call to the window's thread; its
// lParam points to a std::function<void()>.
inline constexpr UINT kRunOnWindowThread = WM_APP + 1;
// Posted after the user deselected the list's row, to report the selection
// once the deselection's message has been handled.
inline constexpr UINT kSettleListSelection = WM_APP + 2;
// Posted when Windows asked the program to close at the end of a session
// and everything was settled: the window goes.
inline constexpr UINT kCloseAsked = WM_APP + 3;
// Posted when the window is made: its tooltips are attached from the
// message loop, once the start is over.
inline constexpr UINT kAttachTooltips = WM_APP + 4;
// Carries a posted call: lParam owns a heap std::function<void()>, wParam is
// its delay in milliseconds.
inline constexpr UINT kRunPosted = WM_APP + 5;

template <class Call>
auto MainWindow::OnWindowThread(Call&& call) const -> decltype(call()) {
  using Result = decltype(call());
  if (GetCurrentThreadId() == threadId_) return call();
  if constexpr (std::is_void_v<Result>) {
    std::function<void()> carried = [&] { call(); };
    SendMessageA(hwnd_, kRunOnWindowThread, 0, reinterpret_cast<LPARAM>(&carried));
  } else {
    // A window that is gone runs nothing; the caller sees the empty value.
    Result result{};
    std::function<void()> carried = [&] { result = call(); };
    SendMessageA(hwnd_, kRunOnWindowThread, 0, reinterpret_cast<LPARAM>(&carried));
    return result;
  }
}
