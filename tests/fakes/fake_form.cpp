#include "fakes/fake_form.h"

#include <stdexcept>

#include "context/tray_menu_layout.h"
#include "app/window_layout.h"

FakeForm::FakeForm() {
  for (const ControlSpec& design : MainWindowControls()) {
    ControlState& s = controls_[design.id];
    s.text = design.caption;
    s.enabled = !(design.style & kDisabled);
    s.masked = design.style & kPassword;
  }
  for (const MenuItemSpec& item : TrayMenuItems())
    if (item.caption != "-") menu_[std::string(item.caption)] = {std::string(item.caption), item.checked, item.enabled};
  for (int i = 0; i < 3; ++i) status_[i] = MainWindowDesign().statusTexts[i];
}

FakeForm::ControlState& FakeForm::State(Ctl c) {
  auto it = controls_.find(c);
  if (it == controls_.end()) throw std::logic_error("no such control");
  return it->second;
}
const FakeForm::ControlState& FakeForm::State(Ctl c) const { return const_cast<FakeForm*>(this)->State(c); }

FakeForm::MenuState& FakeForm::Menu(std::string_view item) {
  auto it = menu_.find(item);
  if (it == menu_.end()) throw std::logic_error("no such menu item: " + std::string(item));
  return it->second;
}
const FakeForm::MenuState& FakeForm::Menu(std::string_view item) const {
  return const_cast<FakeForm*>(this)->Menu(item);
}

std::string FakeForm::Text(Ctl c) const { return State(c).text; }

void FakeForm::SetText(Ctl c, std::string_view text) {
  State(c).text = text;
  if (FindControl(c)->kind == ControlKind::Edit) Raise(c, ControlEvent::ContentChanged);
}

bool FakeForm::Enabled(Ctl c) const { return State(c).enabled; }
void FakeForm::SetEnabled(Ctl c, bool enabled) { State(c).enabled = enabled; }
bool FakeForm::Checked(Ctl c) const { return State(c).checked; }
void FakeForm::SetChecked(Ctl c, bool checked) { State(c).checked = checked; }
void FakeForm::SetPasswordEntry(Ctl c, bool masked) { State(c).masked = masked; }
bool FakeForm::PasswordEntry(Ctl c) const { return State(c).masked; }

std::string FakeForm::RowCaption(Ctl, int row) const { return rows_.at(row); }
void FakeForm::SetRowCaption(Ctl, int row, std::string_view caption) { rows_.at(row) = caption; }

void FakeForm::RemoveRow(Ctl, int row) {
  rows_.erase(rows_.begin() + row);
  details_.erase(details_.begin() + row);
  if (selectedRow_ == row)
    selectedRow_ = -1;
  else if (selectedRow_ > row)
    --selectedRow_;
}

void FakeForm::SelectRow(Ctl list, int row) {
  // A list view ignores an index it does not have; -1 deselects.
  if (row < RowCount(list)) selectedRow_ = row < 0 ? -1 : row;
}

void FakeForm::SetComboSelection(Ctl, int index) {
  comboSelection_ = index >= 0 && index < 3 ? index : -1;
}

bool FakeForm::MenuChecked(std::string_view item) const { return Menu(item).checked; }
void FakeForm::SetMenuChecked(std::string_view item, bool checked) { Menu(item).checked = checked; }
bool FakeForm::MenuEnabled(std::string_view item) const { return Menu(item).enabled; }
void FakeForm::SetMenuEnabled(std::string_view item, bool enabled) { Menu(item).enabled = enabled; }
std::string FakeForm::MenuCaption(std::string_view item) const { return Menu(item).caption; }
void FakeForm::SetMenuCaption(std::string_view item, std::string_view caption) { Menu(item).caption = caption; }

void FakeForm::ShowMessage(std::string_view text, std::string_view title) {
  messages.push_back({std::string(text), std::string(title)});
}

bool FakeForm::AskYesNo(std::string_view text, std::string_view title) {
  messages.push_back({std::string(text), std::string(title)});
  return answerYes;
}

void FakeForm::ClickRow(int row) {
  constexpr Ctl kList = Ctl::超级列表框_服务器列表;
  const int target = row >= 0 && row < RowCount(kList) ? row : -1;
  if (target != selectedRow_) {
    selectedRow_ = target;
    Raise(kList, ControlEvent::SelectionChanged);
  } else if (target != -1) {
    Raise(kList, ControlEvent::Clicked);
  }
}

void FakeForm::SetRowDetail(Ctl, int row, std::string_view text) {
  if (row >= 0 && row < static_cast<int>(details_.size())) details_[row] = text;
}

void FakeForm::RightClickRow(int row) {
  constexpr Ctl kList = Ctl::超级列表框_服务器列表;
  const int target = row >= 0 && row < RowCount(kList) ? row : -1;
  if (target != selectedRow_) {
    selectedRow_ = target;
    Raise(kList, ControlEvent::SelectionChanged);
  }
  if (target != -1) Raise(kList, ControlEvent::ContextMenu);
}
