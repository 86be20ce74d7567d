// The node list's own menu and its last column, "延迟". The menu opens on a
// right click (the list view selects the row first and then sends
// WM_CONTEXTMENU), on the menu key and on Shift+F10; the chosen item comes
// back as WM_COMMAND, like the tray menu's.
#include "app/win32/main_window.h"
#include "app/win32/menu_entry.h"

#include <commctrl.h>

void MainWindow::SetRowDetail(Ctl list, int row, std::string_view text) {
  OnWindowThread([&] {
    std::string detail(text);
    LVITEMA item{};
    item.iSubItem = 1;
    item.pszText = detail.data();
    SendMessageA(Control(list), LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  });
}

// The keys are taken by the list itself, so the menu opens once, whichever
// way Windows would turn them into WM_CONTEXTMENU.
bool MainWindow::IsListMenuKey(UINT message, WPARAM key) const {
  if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN && message != WM_KEYUP && message != WM_SYSKEYUP)
    return false;
  return key == VK_APPS || (key == VK_F10 && (GetKeyState(VK_SHIFT) & 0x8000));
}

void MainWindow::AskForListMenu(POINT at) {
  listMenuAt_ = at;
  Raise(Ctl::超级列表框_服务器列表, ControlEvent::ContextMenu);
}

void MainWindow::PopupListMenu(std::span<const PopupEntry> items) {
  OnWindowThread([&] {
    HWND list = Control(Ctl::超级列表框_服务器列表);
    POINT at = listMenuAt_;
    if (at.x == -1 && at.y == -1) {
      // From the keyboard: at the selected row, or the list's corner.
      RECT row{LVIR_LABEL, 0, 0, 0};
      const int selected =
          static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
      if (selected < 0 || !SendMessageA(list, LVM_GETITEMRECT, selected, reinterpret_cast<LPARAM>(&row)))
        row = {};
      at = {row.left + 8, row.bottom};
      ClientToScreen(list, &at);
    }
    HMENU menu = CreatePopupMenu();
    for (const PopupEntry& item : items)
      AppendMenuEntry(menu, item.caption, static_cast<UINT_PTR>(item.commandId), item.checked, item.enabled);
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd_, nullptr);
    DestroyMenu(menu);
  });
}

