// The tray menu 托盘菜单: item states kept as records, and the pop-up built
// from them each time it is shown.
#include "context/tray_menu_layout.h"
#include "app/win32/main_window.h"
#include "app/win32/menu_entry.h"

MainWindow::MenuItemState* MainWindow::FindMenuState(std::string_view item) {
  const auto specs = TrayMenuItems();
  for (std::size_t i = 0; i < specs.size() && i < menu_.size(); ++i)
    if (specs[i].caption == item && item != "-") return &menu_[i];
  return nullptr;
}

const MainWindow::MenuItemState* MainWindow::FindMenuState(std::string_view item) const {
  return const_cast<MainWindow*>(this)->FindMenuState(item);
}

bool MainWindow::MenuChecked(std::string_view item) const {
  return OnWindowThread([&] {
    const MenuItemState* state = FindMenuState(item);
    return state && state->checked;
  });
}

void MainWindow::SetMenuChecked(std::string_view item, bool checked) {
  OnWindowThread([&] {
    if (MenuItemState* state = FindMenuState(item)) state->checked = checked;
  });
}

bool MainWindow::MenuEnabled(std::string_view item) const {
  return OnWindowThread([&] {
    const MenuItemState* state = FindMenuState(item);
    return state && state->enabled;
  });
}

void MainWindow::SetMenuEnabled(std::string_view item, bool enabled) {
  OnWindowThread([&] {
    if (MenuItemState* state = FindMenuState(item)) state->enabled = enabled;
  });
}

std::string MainWindow::MenuCaption(std::string_view item) const {
  return OnWindowThread([&] {
    const MenuItemState* state = FindMenuState(item);
    return state ? state->caption : std::string();
  });
}

void MainWindow::SetMenuCaption(std::string_view item, std::string_view caption) {
  OnWindowThread([&] {
    if (MenuItemState* state = FindMenuState(item)) state->caption = caption;
  });
}

// Level 1 items go into the pop-up, level 2 items into the submenu of the
// level 1 item above them. Hidden items are left out, and so are the items
// under a hidden submenu.
HMENU MainWindow::BuildTrayMenu() const {
  HMENU popup = CreatePopupMenu();
  HMENU submenu = nullptr;
  const auto specs = TrayMenuItems();
  for (std::size_t i = 0; i < specs.size() && i < menu_.size(); ++i) {
    const MenuItemSpec& design = specs[i];
    const MenuItemState& state = menu_[i];
    if (design.level == 1) submenu = nullptr;
    if (!state.visible) continue;

    HMENU into = design.level == 1 ? popup : submenu;
    if (!into) continue;
    UINT_PTR id = static_cast<UINT_PTR>(design.commandId);
    if (design.submenu) {
      submenu = CreatePopupMenu();
      id = reinterpret_cast<UINT_PTR>(submenu);
    }
    AppendMenuEntry(into, state.caption, id, state.checked, state.enabled, design.submenu ? MF_POPUP : 0);
  }
  return popup;
}

void MainWindow::PopupTrayMenu() {
  OnWindowThread([&] {
    HMENU menu = BuildTrayMenu();
    POINT cursor{};
    GetCursorPos(&cursor);
    // Without the foreground the menu would not close when the user clicks
    // elsewhere; the WM_NULL afterwards lets it close on the first click.
    SetForegroundWindow(hwnd_);
    // The chosen item arrives as WM_COMMAND once the menu has closed.
    TrackPopupMenu(menu, TPM_RIGHTALIGN, cursor.x - 5, cursor.y - 5, 0, hwnd_, nullptr);
    PostMessageA(hwnd_, WM_NULL, 0, 0);
    DestroyMenu(menu);
  });
}
