// The node list 超级列表框_服务器列表: the user's moves of its selection,
// reported once each, and the program's own removals and selections, never
// reported.
//
// The list view tells every state change (LVN_ITEMCHANGED), whoever made it:
// a mouse click, a right click, the arrow, Home, End and Page keys,
// type-ahead, and the program's own LVM_SETITEMSTATE. A move is a pair, the
// old row deselected and then the new one selected. The user's moves are
// reported as SelectionChanged once the new row is selected; a deselection
// with no selection after it (a click beside the rows, Ctrl+Space) is
// reported once the message that made it has been handled. The program's own
// changes are never reported: the handler that makes them shows the node
// itself, and a report would run it again from inside.
#include "app/win32/main_window.h"

#include <commctrl.h>

#include <utility>

namespace {

int SelectedRowOf(HWND list) {
  return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

}  // namespace

// The list's own procedure is swapped, not subclassed through comctl32:
// under Wine that looks up two window properties, each a round trip to the
// server, for every message, and a list filled with 10,000 rows took 4 s
// instead of a few milliseconds. The list is a Unicode window; its
// procedure is called as such, so no message is translated on the way.
void MainWindow::WatchList() {
  HWND list = Control(Ctl::超级列表框_服务器列表);
  SetWindowLongPtrW(list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  listProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListProc)));
}

// Notes the row selected when a mouse button goes down, before the list
// moves the selection: NM_CLICK comes only after the button is up.
LRESULT CALLBACK MainWindow::ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(list, GWLP_USERDATA));
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) self->rowAtPress_ = SelectedRowOf(list);
  if (message == WM_CONTEXTMENU) {
    self->AskForListMenu({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
    return 0;
  }
  if (self->IsListMenuKey(message, wParam)) {
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) self->AskForListMenu({-1, -1});
    return 0;
  }
  return CallWindowProcW(self->listProc_, list, message, wParam, lParam);
}

void MainWindow::OnListNotify(const NMHDR& header) {
  if (changingList_) return;
  const Ctl list = Ctl::超级列表框_服务器列表;
  if (header.code == LVN_ITEMCHANGED) {
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if (!(change.uChanged & LVIF_STATE) || !((change.uNewState ^ change.uOldState) & LVIS_SELECTED))
      return;
    if (change.uNewState & LVIS_SELECTED)
      ReportListSelection(change.iItem);
    else
      PostMessageA(hwnd_, kSettleListSelection, 0, 0);
  } else if (header.code == LVN_COLUMNCLICK) {
    if (reinterpret_cast<const NMLISTVIEW&>(header).iSubItem == 1) Raise(list, ControlEvent::HeaderClicked);
  } else if (header.code == NM_CLICK) {
    // Only a click on the row that already was selected: a click that moved
    // the selection has been reported as that move, and a click beside the
    // rows (row -1) has only deselected.
    const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
    if (click.iItem >= 0 && click.iItem == rowAtPress_ && click.iItem == listSelection_)
      Raise(list, ControlEvent::Clicked);
  }
}

void MainWindow::ReportListSelection(int row) {
  if (row == listSelection_) return;
  listSelection_ = row;
  Raise(Ctl::超级列表框_服务器列表, ControlEvent::SelectionChanged);
}

void MainWindow::SettleListSelection() {
  if (HWND list = Control(Ctl::超级列表框_服务器列表)) ReportListSelection(SelectedRowOf(list));
}

void MainWindow::ChangeListQuietly(const std::function<void(HWND)>& change) {
  OnWindowThread([&] {
    HWND view = Control(Ctl::超级列表框_服务器列表);
    const bool wasChanging = std::exchange(changingList_, true);
    change(view);
    changingList_ = wasChanging;
    listSelection_ = SelectedRowOf(view);
  });
}
