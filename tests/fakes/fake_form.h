#pragma once
// A main window in memory. It starts as the designed window does, records
// message boxes, and raises the events exactly when the Win32 window does:
// content-changed when an edit box's text is set (EN_CHANGE follows
// WM_SETTEXT); on the list, nothing for the program's own row and selection
// changes (the Win32 window keeps those to itself), selection-changed when
// the user moves the selection, and clicked only for a click on the row
// already selected.
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/events.h"
#include "context/form.h"

class FakeForm : public Form {
 public:
  FakeForm();

  std::function<void(Ctl, ControlEvent)> onEvent;  // hooked to OnControlEvent by the test

  struct Box {
    std::string text, title;
  };
  std::vector<Box> messages;  // questions too
  bool answerYes = false;     // the user's answer to every question
  Ctl focused = Ctl::选择夹1;
  int popups = 0;
  bool destroyed = false;

  std::string Text(Ctl c) const override;
  void SetText(Ctl c, std::string_view text) override;
  bool Enabled(Ctl c) const override;
  void SetEnabled(Ctl c, bool enabled) override;
  bool Checked(Ctl c) const override;
  void SetChecked(Ctl c, bool checked) override;
  void SetPasswordEntry(Ctl c, bool masked) override;
  bool PasswordEntry(Ctl c) const override;
  void Focus(Ctl c) override { focused = c; }

  int RowCount(Ctl) const override { return static_cast<int>(rows_.size()); }
  std::string RowCaption(Ctl, int row) const override;
  void AddRow(Ctl, std::string_view caption) override {
    rows_.emplace_back(caption);
    details_.emplace_back();
  }
  void SetRowCaption(Ctl, int row, std::string_view caption) override;
  void RemoveRow(Ctl, int row) override;
  int SelectedRow(Ctl) const override { return selectedRow_; }
  void SelectRow(Ctl list, int row) override;
  void SetListRedraw(Ctl, bool redraw) override { listRedraw = redraw; }
  bool listRedraw = true;
  void SetRowDetail(Ctl, int row, std::string_view text) override;
  // The items of the last list menu popped up, with their states.
  void PopupListMenu(std::span<const PopupEntry> items) override { listMenu.assign(items.begin(), items.end()); }
  std::vector<PopupEntry> listMenu;

  int ComboSelection(Ctl) const override { return comboSelection_; }
  void SetComboSelection(Ctl, int index) override;

  int CurrentPage(Ctl) const override { return page_; }
  void SetCurrentPage(Ctl, int page) override { page_ = page; }

  std::string StatusText(int part) const override { return status_[part]; }
  void SetStatusText(int part, std::string_view text) override { status_[part] = text; }

  std::string Title() const override { return title_; }
  void SetTitle(std::string_view text) override { title_ = text; }
  bool WindowVisible() const override { return visible_; }
  void SetWindowVisible(bool visible) override { visible_ = visible; }
  void DestroyWindow() override { destroyed = true; }
  std::uintptr_t WindowHandle() const override { return 0x1234; }

  bool MenuChecked(std::string_view item) const override;
  void SetMenuChecked(std::string_view item, bool checked) override;
  bool MenuEnabled(std::string_view item) const override;
  void SetMenuEnabled(std::string_view item, bool enabled) override;
  std::string MenuCaption(std::string_view item) const override;
  void SetMenuCaption(std::string_view item, std::string_view caption) override;

  void ShowMessage(std::string_view text, std::string_view title) override;
  bool AskYesNo(std::string_view text, std::string_view title) override;
  void PopupTrayMenu() override { ++popups; }
  // The calling thread plays the window's, as everywhere in the fake.
  void RunOnWindowThread(const std::function<void()>& task) override { task(); }

  // Posted calls wait here, in order, until the test lets the message loop run.
  struct Posted {
    std::function<void()> call;
    unsigned delay;
  };
  std::vector<Posted> posted;
  void Post(std::function<void()> call, unsigned delayMilliseconds) override {
    posted.push_back({std::move(call), delayMilliseconds});
  }
  // Runs the calls posted so far (not those they post); their delays, in order.
  std::vector<unsigned> RunPosted() {
    std::vector<Posted> due = std::exchange(posted, {});
    std::vector<unsigned> delays;
    for (Posted& p : due) {
      delays.push_back(p.delay);
      p.call();
    }
    return delays;
  }

  // Test conveniences: what a user does.
  void Type(Ctl c, std::string_view text) { SetText(c, text); }
  // A left click on a row; -1 clicks beside the rows, which deselects.
  void ClickRow(int row);
  std::vector<std::string> Rows() const { return rows_; }
  std::vector<std::string> Details() const { return details_; }
  // A right click on a row: the list view selects it as a left click
  // would, then asks for the menu.
  void RightClickRow(int row);
  void ClickLatencyHeader() { Raise(Ctl::超级列表框_服务器列表, ControlEvent::HeaderClicked); }

 private:
  struct ControlState {
    std::string text;
    bool enabled = true;
    bool checked = false;
    bool masked = false;
  };
  struct MenuState {
    std::string caption;
    bool checked, enabled;
  };
  ControlState& State(Ctl c);
  const ControlState& State(Ctl c) const;
  MenuState& Menu(std::string_view item);
  const MenuState& Menu(std::string_view item) const;
  void Raise(Ctl c, ControlEvent e) {
    if (onEvent) onEvent(c, e);
  }

  std::map<Ctl, ControlState> controls_;
  std::map<std::string, MenuState, std::less<>> menu_;
  std::vector<std::string> rows_;
  std::vector<std::string> details_;  // the column "延迟", beside rows_
  int selectedRow_ = -1;
  int comboSelection_ = -1;
  int page_ = 0;
  std::string status_[3];
  std::string title_;
  bool visible_ = false;
};
