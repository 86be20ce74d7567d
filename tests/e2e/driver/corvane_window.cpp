#include "driver/corvane_window.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <utility>

#include "context/tray_menu_layout.h"
#include "driver/message_boxes.h"
#include "driver/polling.h"
#include "driver/windows.h"

namespace e2e {

namespace {

constexpr int kPageCount = 2;
constexpr std::size_t kTextBytes = 1024;

int IdOf(Ctl c) { return static_cast<int>(c); }

HWND MainWindowOf(DWORD processId) {
  for (HWND window : TopLevelWindowsOf(processId)) {
    HWND tab = FindDescendant(window, IdOf(Ctl::选择夹1));
    if (tab && ClassOf(tab) == WC_TABCONTROLA) return window;
  }
  return nullptr;
}

// Focus belongs to a thread's input state: a thread of this driver shares
// the program's for a moment and sets it. SetFocus waits while the program
// handles the focus change, which may show a modal box, so the move runs on
// a thread of its own, which also owns the record.
struct FocusMove {
  HWND control;
  DWORD programThread;
};

DWORD WINAPI MoveFocus(void* parameter) {
  auto* move = static_cast<FocusMove*>(parameter);
  const DWORD ownThread = GetCurrentThreadId();
  DWORD moved = 0;
  if (AttachThreadInput(ownThread, move->programThread, TRUE)) {
    SetFocus(move->control);
    moved = GetFocus() == move->control ? 1 : 0;
    AttachThreadInput(ownThread, move->programThread, FALSE);
  }
  delete move;
  return moved;
}

DWORD_PTR SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kActionTimeout, &result);
  return result;
}

}  // namespace

std::optional<CorvaneWindow> CorvaneWindow::WaitFor(const ProgramRun& run, DWORD timeout) {
  const ULONGLONG start = GetTickCount64();
  HWND window = nullptr;
  if (!WaitUntil([&] { return (window = MainWindowOf(run.Id())) != nullptr; }, timeout)) return std::nullopt;
  // The startup sequence runs before the message loop: once the program
  // waits for input, it is done.
  const ULONGLONG spent = GetTickCount64() - start;
  const DWORD rest = spent < timeout ? static_cast<DWORD>(timeout - spent) : 0;
  if (WaitForInputIdle(run.Handle(), rest) != 0 || !Ping(window, kActionTimeout)) return std::nullopt;
  return CorvaneWindow(window, run.Handle(), run.Id());
}

CorvaneWindow::CorvaneWindow(HWND window, HANDLE process, DWORD processId)
    : window_(window), process_(process), processId_(processId) {}

HWND CorvaneWindow::Control(Ctl c) const { return FindDescendant(window_, IdOf(c)); }
std::string CorvaneWindow::Title() const { return TextOf(window_); }
bool CorvaneWindow::Visible() const { return IsWindowVisible(window_) != 0; }
bool CorvaneWindow::Sync() const {
  // A sent ping is answered before messages posted earlier (clicks, menu
  // commands, drops) are handled, so the marker is posted too: an edit
  // control's modified flag, which the program never looks at, is set by a
  // posted EM_SETMODIFY once the thread has got past everything posted
  // before it (a modal box's loop handles it too). The flag is put back.
  HWND marker = Control(Ctl::编辑框_服务器IP);
  const WPARAM wasModified = SendWithTimeout(marker, EM_GETMODIFY, 0, 0) != 0;
  SendWithTimeout(marker, EM_SETMODIFY, FALSE, 0);
  if (!PostMessageA(marker, EM_SETMODIFY, TRUE, 0)) return false;
  const bool passed = WaitUntil([&] { return SendWithTimeout(marker, EM_GETMODIFY, 0, 0) != 0; }, kActionTimeout, 10);
  SendWithTimeout(marker, EM_SETMODIFY, wasModified, 0);
  return passed;
}

void CorvaneWindow::Click(Ctl c) const { PostMessageA(Control(c), BM_CLICK, 0, 0); }

bool CorvaneWindow::SetText(Ctl c, std::string_view text) const {
  const std::string value(text);
  DWORD_PTR ok = 0;
  return SendMessageTimeoutA(Control(c), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()), SMTO_ABORTIFHUNG,
                             kActionTimeout, &ok) &&
         ok;
}

std::string CorvaneWindow::Text(Ctl c) const { return TextOf(Control(c)); }
bool CorvaneWindow::Checked(Ctl c) const { return SendWithTimeout(Control(c), BM_GETCHECK, 0, 0) == BST_CHECKED; }
bool CorvaneWindow::Enabled(Ctl c) const { return IsWindowEnabled(Control(c)) != 0; }

void CorvaneWindow::LeaveField(Ctl c) const {
  HWND control = Control(c);
  const bool combo = ClassOf(control) == WC_COMBOBOXA;
  // The notification goes to the control's parent, the page window.
  PostMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(IdOf(c), combo ? CBN_KILLFOCUS : EN_KILLFOCUS),
               reinterpret_cast<LPARAM>(control));
}

bool CorvaneWindow::Focus(Ctl c) const {
  auto* move = new FocusMove{Control(c), GetWindowThreadProcessId(window_, nullptr)};
  HANDLE thread = CreateThread(nullptr, 0, MoveFocus, move, 0, nullptr);
  if (!thread) {
    delete move;
    return false;
  }
  bool finished = false;
  WaitUntil(
      [&] {
        finished = WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
        return finished || ShowsMessageBox(processId_);
      },
      kActionTimeout);
  DWORD moved = 0;
  if (finished) GetExitCodeThread(thread, &moved);
  CloseHandle(thread);
  return finished ? moved == 1 : ShowsMessageBox(processId_);
}

HWND CorvaneWindow::FocusedControl() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

int CorvaneWindow::CurrentPage() const {
  return static_cast<int>(SendWithTimeout(Control(Ctl::选择夹1), TCM_GETCURSEL, 0, 0));
}

bool CorvaneWindow::ShowPage(int page) const {
  // A click on the page's header: the tab control then tells the window
  // itself, as with the mouse (TCM_SETCURSEL would not).
  HWND tab = Control(Ctl::选择夹1);
  RemoteMemory rect(process_, sizeof(RECT));
  if (!SendWithTimeout(tab, TCM_GETITEMRECT, page, rect.AsParam())) return false;
  RECT header{};
  if (!rect.Read(header)) return false;
  const LPARAM point = MAKELPARAM((header.left + header.right) / 2, (header.top + header.bottom) / 2);
  PostMessageA(tab, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageA(tab, WM_LBUTTONUP, 0, point);
  return WaitUntil([&] { return CurrentPage() == page && PageVisible(page); }, kActionTimeout);
}

bool CorvaneWindow::PageVisible(int page) const {
  // The pages are the tab control's child windows, in page order, and each
  // holds that page's controls; the first control of each page tells which.
  const Ctl firstControl[kPageCount] = {Ctl::超级列表框_服务器列表, Ctl::分组框_账号自检设置};
  if (page < 0 || page >= kPageCount) return false;
  return IsWindowVisible(GetParent(Control(firstControl[page]))) != 0;
}

std::vector<std::string> CorvaneWindow::Rows() const {
  HWND list = Control(Ctl::超级列表框_服务器列表);
  const int count = static_cast<int>(SendWithTimeout(list, LVM_GETITEMCOUNT, 0, 0));
  std::vector<std::string> rows;
  RemoteMemory block(process_, sizeof(LVITEMA) + kTextBytes);
  for (int row = 0; row < count; ++row) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = static_cast<char*>(block.Address()) + sizeof(LVITEMA);
    item.cchTextMax = static_cast<int>(kTextBytes);
    block.Write(item);
    SendWithTimeout(list, LVM_GETITEMTEXTA, row, block.AsParam());
    rows.push_back(block.ReadText(sizeof(LVITEMA), kTextBytes));
  }
  return rows;
}

std::string CorvaneWindow::RowDetail(int row) const {
  RemoteMemory block(process_, sizeof(LVITEMA) + kTextBytes);
  LVITEMA item{};
  item.iSubItem = 1;
  item.pszText = static_cast<char*>(block.Address()) + sizeof(LVITEMA);
  item.cchTextMax = static_cast<int>(kTextBytes);
  block.Write(item);
  SendWithTimeout(Control(Ctl::超级列表框_服务器列表), LVM_GETITEMTEXTA, row, block.AsParam());
  return block.ReadText(sizeof(LVITEMA), kTextBytes);
}

std::vector<std::string> CorvaneWindow::RowDetails() const {
  const int count = static_cast<int>(SendWithTimeout(Control(Ctl::超级列表框_服务器列表), LVM_GETITEMCOUNT, 0, 0));
  std::vector<std::string> details;
  for (int row = 0; row < count; ++row) details.push_back(RowDetail(row));
  return details;
}

bool CorvaneWindow::ClickListHeader(int column) const {
  HWND header = reinterpret_cast<HWND>(SendWithTimeout(Control(Ctl::超级列表框_服务器列表), LVM_GETHEADER, 0, 0));
  RECT bounds{};
  RemoteMemory rect(process_, sizeof(RECT));
  if (!header || !SendWithTimeout(header, HDM_GETITEMRECT, column, rect.AsParam()) || !rect.Read(bounds)) return false;
  const LPARAM point = MAKELPARAM((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2);
  PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageA(header, WM_LBUTTONUP, 0, point);
  return true;
}

bool CorvaneWindow::PressKeysInList(std::initializer_list<WORD> keys) const {
  SetForegroundWindow(window_);
  if (!Focus(Ctl::超级列表框_服务器列表)) return false;
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wVk = key;
    inputs.push_back(down);
  }
  for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
    INPUT up{};
    up.type = INPUT_KEYBOARD;
    up.ki.wVk = *key;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(up);
  }
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

int CorvaneWindow::SelectedRow() const {
  return static_cast<int>(
      SendWithTimeout(Control(Ctl::超级列表框_服务器列表), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

bool CorvaneWindow::KeyInList(WPARAM key, bool character) const {
  HWND list = Control(Ctl::超级列表框_服务器列表);
  if (character) return PostMessageA(list, WM_CHAR, key, 1);
  return PostMessageA(list, WM_KEYDOWN, key, 1) && PostMessageA(list, WM_KEYUP, key, 1 | (3u << 30));
}

bool CorvaneWindow::ClickRow(int row, bool rightButton) const {
  HWND list = Control(Ctl::超级列表框_服务器列表);
  RECT bounds{LVIR_BOUNDS, 0, 0, 0};
  if (row < 0) {
    // Beside the rows: the bottom of the list, below the last one.
    if (!GetClientRect(list, &bounds)) return false;
    bounds.top = bounds.bottom - 10;
  } else {
    RemoteMemory rect(process_, sizeof(RECT));
    if (!rect.Write(bounds) || !SendWithTimeout(list, LVM_GETITEMRECT, row, rect.AsParam()) || !rect.Read(bounds))
      return false;
  }
  const LPARAM point = MAKELPARAM((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2);
  PostMessageA(list, rightButton ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, rightButton ? MK_RBUTTON : MK_LBUTTON, point);
  PostMessageA(list, rightButton ? WM_RBUTTONUP : WM_LBUTTONUP, 0, point);
  return true;
}

std::string CorvaneWindow::StatusText(int part) const {
  RemoteMemory block(process_, kTextBytes);
  SendWithTimeout(Control(Ctl::状态条1), SB_GETTEXTA, part, block.AsParam());
  return block.ReadText(0, kTextBytes);
}

void CorvaneWindow::Command(std::string_view trayItem) const {
  const MenuItemSpec* item = FindMenuItem(trayItem);
  const int id = item ? item->commandId : 0;
  // As when the item is chosen from the pop-up: a menu command, no control.
  PostMessageA(window_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void CorvaneWindow::TrayEvent(int code) const { PostMessageA(window_, kTrayCallbackMessage, 1, code); }

void CorvaneWindow::Close() const { PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0); }

bool CorvaneWindow::DropFiles(const std::vector<std::string>& paths) {
  // The block the shell hands over: DROPFILES, then the paths, each ending
  // with a zero, and one more zero at the end.
  std::string names;
  for (const std::string& path : paths) names += path + '\0';
  names += '\0';
  DROPFILES header{};
  header.pFiles = sizeof header;
  header.pt = {40, 40};
  header.fNC = FALSE;
  header.fWide = FALSE;
  RemoteMemory block(process_, sizeof header + names.size());
  if (!block.Write(header) || !block.Write(names.data(), names.size(), sizeof header)) return false;
  if (!PostMessageA(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(block.Address()), 0)) return false;
  // The program reads the block when it gets to the message.
  drops_.push_back(std::move(block));
  return true;
}

}  // namespace e2e
