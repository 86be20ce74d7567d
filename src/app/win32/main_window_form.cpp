// The Form operations on the window's controls. Each runs on the window's
// thread, whichever thread asks.
#include "app/win32/main_window.h"

#include <commctrl.h>

#include <cstring>

namespace {

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length), '\0');
  const int copied = GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

std::string ListItemText(HWND list, int row) {
  // The list does not tell a caption's length; grow until it fits.
  for (int size = 256; size <= 65536; size *= 4) {
    std::string text(static_cast<std::size_t>(size), '\0');
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = text.data();
    item.cchTextMax = size;
    if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return {};
    // The list may answer with its own buffer instead of filling ours.
    const std::string caption(item.pszText ? item.pszText : "");
    if (static_cast<int>(caption.size()) + 1 < size) return caption;
  }
  return {};
}

}  // namespace

std::string MainWindow::Text(Ctl c) const {
  return OnWindowThread([&] { return WindowText(Control(c)); });
}

void MainWindow::SetText(Ctl c, std::string_view text) {
  OnWindowThread([&] { SetWindowTextA(Control(c), std::string(text).c_str()); });
}

bool MainWindow::Enabled(Ctl c) const {
  return OnWindowThread([&] { return IsWindowEnabled(Control(c)) != FALSE; });
}

void MainWindow::SetEnabled(Ctl c, bool enabled) {
  OnWindowThread([&] { EnableWindow(Control(c), enabled); });
}

bool MainWindow::Checked(Ctl c) const {
  return OnWindowThread(
      [&] { return SendMessageA(Control(c), BM_GETCHECK, 0, 0) == BST_CHECKED; });
}

void MainWindow::SetChecked(Ctl c, bool checked) {
  OnWindowThread(
      [&] { SendMessageA(Control(c), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0); });
}

void MainWindow::SetPasswordEntry(Ctl c, bool masked) {
  OnWindowThread([&] {
    HWND edit = Control(c);
    SendMessageA(edit, EM_SETPASSWORDCHAR, masked ? '*' : 0, 0);
    InvalidateRect(edit, nullptr, TRUE);
  });
}

bool MainWindow::PasswordEntry(Ctl c) const {
  return OnWindowThread([&] { return SendMessageA(Control(c), EM_GETPASSWORDCHAR, 0, 0) != 0; });
}

void MainWindow::Focus(Ctl c) {
  OnWindowThread([&] { SetFocus(Control(c)); });
}

int MainWindow::RowCount(Ctl list) const {
  return OnWindowThread(
      [&] { return static_cast<int>(SendMessageA(Control(list), LVM_GETITEMCOUNT, 0, 0)); });
}

std::string MainWindow::RowCaption(Ctl list, int row) const {
  return OnWindowThread([&] { return ListItemText(Control(list), row); });
}

void MainWindow::AddRow(Ctl list, std::string_view caption) {
  OnWindowThread([&] {
    HWND view = Control(list);
    std::string text(caption);
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(SendMessageA(view, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = text.data();
    SendMessageA(view, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  });
}

void MainWindow::SetRowCaption(Ctl list, int row, std::string_view caption) {
  OnWindowThread([&] {
    std::string text(caption);
    LVITEMA item{};
    item.iSubItem = 0;
    item.pszText = text.data();
    SendMessageA(Control(list), LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  });
}

void MainWindow::RemoveRow(Ctl, int row) {
  ChangeListQuietly([&](HWND view) { SendMessageA(view, LVM_DELETEITEM, row, 0); });
}

int MainWindow::SelectedRow(Ctl list) const {
  return OnWindowThread([&] {
    return static_cast<int>(
        SendMessageA(Control(list), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  });
}

void MainWindow::SelectRow(Ctl, int row) {
  ChangeListQuietly([&](HWND view) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    if (row < 0) {
      // Index -1 addresses every row.
      item.state = 0;
      SendMessageA(view, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
      return;
    }
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(view, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    SendMessageA(view, LVM_ENSUREVISIBLE, row, FALSE);
  });
}

void MainWindow::SetListRedraw(Ctl list, bool redraw) {
  OnWindowThread([&] {
    HWND view = Control(list);
    SendMessageA(view, WM_SETREDRAW, redraw, 0);
    if (!redraw) return;
    const WPARAM current = SendMessageA(view, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED);
    if (static_cast<int>(current) >= 0) SendMessageA(view, LVM_ENSUREVISIBLE, current, FALSE);
    InvalidateRect(view, nullptr, TRUE);
  });
}

int MainWindow::ComboSelection(Ctl combo) const {
  return OnWindowThread(
      [&] { return static_cast<int>(SendMessageA(Control(combo), CB_GETCURSEL, 0, 0)); });
}

void MainWindow::SetComboSelection(Ctl combo, int index) {
  OnWindowThread([&] { SendMessageA(Control(combo), CB_SETCURSEL, index, 0); });
}

int MainWindow::CurrentPage(Ctl tab) const {
  return OnWindowThread(
      [&] { return static_cast<int>(SendMessageA(Control(tab), TCM_GETCURSEL, 0, 0)); });
}

void MainWindow::SetCurrentPage(Ctl tab, int page) {
  OnWindowThread([&] {
    if (page < 0 || page > 1) return;
    // TCM_SETCURSEL sends no TCN_SELCHANGE; the page is switched here.
    SendMessageA(Control(tab), TCM_SETCURSEL, page, 0);
    ShowPage(page);
  });
}

std::string MainWindow::StatusText(int part) const {
  return OnWindowThread([&] {
    // The length comes in characters, and SB_GETTEXTA takes no buffer size:
    // room for two bytes a character holds any GBK text.
    const std::size_t characters = LOWORD(SendMessageA(status_, SB_GETTEXTLENGTHA, part, 0));
    std::string text(2 * characters + 1, '\0');
    SendMessageA(status_, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::strlen(text.c_str()));
    return text;
  });
}

void MainWindow::SetStatusText(int part, std::string_view text) {
  OnWindowThread([&] {
    const std::string shown(text);
    SendMessageA(status_, SB_SETTEXTA, part, reinterpret_cast<LPARAM>(shown.c_str()));
  });
}

std::string MainWindow::Title() const {
  return OnWindowThread([&] { return WindowText(hwnd_); });
}

void MainWindow::SetTitle(std::string_view text) {
  OnWindowThread([&] { SetWindowTextA(hwnd_, std::string(text).c_str()); });
}

bool MainWindow::WindowVisible() const {
  // A minimised window is not in view: showing it restores it.
  return OnWindowThread([&] { return IsWindowVisible(hwnd_) && !IsIconic(hwnd_); });
}

void MainWindow::SetWindowVisible(bool visible) {
  OnWindowThread([&] {
    if (!visible) {
      ShowWindow(hwnd_, SW_HIDE);
      return;
    }
    ShowWindow(hwnd_, IsIconic(hwnd_) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(hwnd_);
  });
}

void MainWindow::DestroyWindow() {
  OnWindowThread([&] {
    if (hwnd_) ::DestroyWindow(hwnd_);
  });
}

bool MainWindow::AskYesNo(std::string_view text, std::string_view title) {
  bool yes = false;
  OnWindowThread([&] {
    yes = MessageBoxA(hwnd_.load(), std::string(text).c_str(), std::string(title).c_str(), MB_YESNO | MB_TASKMODAL) == IDYES;
  });
  return yes;
}

std::uintptr_t MainWindow::WindowHandle() const { return reinterpret_cast<std::uintptr_t>(hwnd_.load()); }

void MainWindow::ShowMessage(std::string_view text, std::string_view title) {
  OnWindowThread([&] {
    if (!showBoxes_) return;
    // Windows' own caption for a box without one is "错误"; the program's
    // untitled boxes say "信息：".
    const std::string caption = title.empty() ? std::string("信息：") : std::string(title);
    MessageBoxA(hwnd_, std::string(text).c_str(), caption.c_str(), MB_OK | MB_TASKMODAL);
  });
}
