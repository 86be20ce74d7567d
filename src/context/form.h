#pragma once
// The one way the program's behaviour reads and changes the main window.
// Controls are addressed by their form names, tray-menu items by their design
// caption. The Win32 window implements it on real controls; the tests use a
// fake. Every call is safe from any thread: the Win32 form carries calls made
// on worker threads over to the window's thread.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "context/controls.h"
#include "context/list_menu_layout.h"

class Form {
 public:
  virtual ~Form() = default;

  // Edit boxes, buttons, check boxes, labels.
  virtual std::string Text(Ctl c) const = 0;
  // Raises the control's content-changed event, as the user's typing does.
  virtual void SetText(Ctl c, std::string_view text) = 0;
  virtual bool Enabled(Ctl c) const = 0;
  virtual void SetEnabled(Ctl c, bool enabled) = 0;
  virtual bool Checked(Ctl c) const = 0;
  virtual void SetChecked(Ctl c, bool checked) = 0;
  virtual void SetPasswordEntry(Ctl c, bool masked) = 0;
  virtual bool PasswordEntry(Ctl c) const = 0;
  virtual void Focus(Ctl c) = 0;

  // The list view: one caption per row; -1 means no row.
  virtual int RowCount(Ctl list) const = 0;
  virtual std::string RowCaption(Ctl list, int row) const = 0;
  virtual void AddRow(Ctl list, std::string_view caption) = 0;
  virtual void SetRowCaption(Ctl list, int row, std::string_view caption) = 0;
  virtual void RemoveRow(Ctl list, int row) = 0;
  virtual int SelectedRow(Ctl list) const = 0;
  virtual void SelectRow(Ctl list, int row) = 0;
  // Stops drawing the list while many rows change, then draws it once with
  // the current row in sight. Nothing else about the list changes.
  virtual void SetListRedraw(Ctl list, bool redraw) = 0;
  // The list's last column, "延迟"; a new row starts with it empty.
  virtual void SetRowDetail(Ctl list, int row, std::string_view text) = 0;
  // Pops up the list's own menu where it was asked for: at the mouse, or
  // at the selected row when the keyboard asked. The chosen item comes back
  // as a menu command.
  virtual void PopupListMenu(std::span<const PopupEntry> items) = 0;

  // The drop-down list: index of the chosen item, -1 for none.
  virtual int ComboSelection(Ctl combo) const = 0;
  virtual void SetComboSelection(Ctl combo, int index) = 0;

  // The tab control.
  virtual int CurrentPage(Ctl tab) const = 0;
  virtual void SetCurrentPage(Ctl tab, int page) = 0;

  // The status bar, parts 0 to 2.
  virtual std::string StatusText(int part) const = 0;
  virtual void SetStatusText(int part, std::string_view text) = 0;

  // The window itself.
  virtual std::string Title() const = 0;
  virtual void SetTitle(std::string_view text) = 0;
  // Visible means in view: shown and not minimised. Showing restores a
  // minimised window and brings it to the front.
  virtual bool WindowVisible() const = 0;
  virtual void SetWindowVisible(bool visible) = 0;
  // Ends the window without asking whether it may close; its destroyed
  // event follows.
  virtual void DestroyWindow() = 0;
  // The window's handle, opaque to the behaviour; handed to the tray icon.
  virtual std::uintptr_t WindowHandle() const = 0;

  // Tray-menu items, named by their design caption.
  virtual bool MenuChecked(std::string_view item) const = 0;
  virtual void SetMenuChecked(std::string_view item, bool checked) = 0;
  virtual bool MenuEnabled(std::string_view item) const = 0;
  virtual void SetMenuEnabled(std::string_view item, bool enabled) = 0;
  virtual std::string MenuCaption(std::string_view item) const = 0;
  virtual void SetMenuCaption(std::string_view item, std::string_view caption) = 0;

  // A task-modal box owned by the window, one OK button, no icon. An empty
  // title shows the default caption "信息：".
  virtual void ShowMessage(std::string_view text, std::string_view title) = 0;
  // The same box with the buttons "是" and "否"; true for "是".
  virtual bool AskYesNo(std::string_view text, std::string_view title) = 0;

  // Pops up the tray menu at the cursor, built from the items' current states.
  virtual void PopupTrayMenu() = 0;

  // Runs `task` on the window's thread and returns when it is done, for
  // work that shares the window thread's records (the proxy settings);
  // nothing runs once the window is gone.
  virtual void RunOnWindowThread(const std::function<void()>& task) = 0;

  // Runs `call` on the window's thread from its message loop, after at least
  // `delayMilliseconds`, and returns at once: news from a system thread
  // reaches the handlers this way without ever waiting for the window.
  // Nothing runs once the window is gone.
  virtual void Post(std::function<void()> call, unsigned delayMilliseconds) = 0;
};
