#pragma once
// A form with no window behind it, for a run that must show nothing (the
// logon's proxy restore): it holds what the configuration puts in the
// controls, so the program's own rules can read it back, and drops every
// box and call.
#include <map>
#include <string>

#include "context/form.h"

class HeadlessForm final : public Form {
 public:
  std::string Text(Ctl c) const override { return Find(texts_, c, std::string()); }
  void SetText(Ctl c, std::string_view text) override { texts_[c] = text; }
  bool Enabled(Ctl c) const override { return Find(enabled_, c, true); }
  void SetEnabled(Ctl c, bool enabled) override { enabled_[c] = enabled; }
  bool Checked(Ctl c) const override { return Find(checked_, c, false); }
  void SetChecked(Ctl c, bool checked) override { checked_[c] = checked; }
  void SetPasswordEntry(Ctl, bool) override {}
  bool PasswordEntry(Ctl) const override { return true; }
  void Focus(Ctl) override {}

  int RowCount(Ctl) const override { return 0; }
  std::string RowCaption(Ctl, int) const override { return {}; }
  void AddRow(Ctl, std::string_view) override {}
  void SetRowCaption(Ctl, int, std::string_view) override {}
  void RemoveRow(Ctl, int) override {}
  int SelectedRow(Ctl) const override { return -1; }
  void SelectRow(Ctl, int) override {}
  void SetListRedraw(Ctl, bool) override {}
  void SetRowDetail(Ctl, int, std::string_view) override {}
  void PopupListMenu(std::span<const PopupEntry>) override {}

  int ComboSelection(Ctl c) const override { return Find(combos_, c, -1); }
  void SetComboSelection(Ctl c, int index) override { combos_[c] = index; }
  int CurrentPage(Ctl) const override { return 0; }
  void SetCurrentPage(Ctl, int) override {}
  std::string StatusText(int) const override { return {}; }
  void SetStatusText(int, std::string_view) override {}

  std::string Title() const override { return {}; }
  void SetTitle(std::string_view) override {}
  bool WindowVisible() const override { return false; }
  void SetWindowVisible(bool) override {}
  void DestroyWindow() override {}
  std::uintptr_t WindowHandle() const override { return 0; }

  bool MenuChecked(std::string_view item) const override { return Find(menuChecked_, std::string(item), false); }
  void SetMenuChecked(std::string_view item, bool checked) override { menuChecked_[std::string(item)] = checked; }
  bool MenuEnabled(std::string_view) const override { return true; }
  void SetMenuEnabled(std::string_view, bool) override {}
  std::string MenuCaption(std::string_view item) const override { return std::string(item); }
  void SetMenuCaption(std::string_view, std::string_view) override {}

  void ShowMessage(std::string_view, std::string_view) override {}
  bool AskYesNo(std::string_view, std::string_view) override { return false; }
  void PopupTrayMenu() override {}
  // The restore's only thread plays the window's.
  void RunOnWindowThread(const std::function<void()>& task) override { task(); }
  // Nothing runs here without a message loop.
  void Post(std::function<void()>, unsigned) override {}

 private:
  template <class Key, class Value>
  static Value Find(const std::map<Key, Value>& values, const Key& key, Value fallback) {
    const auto found = values.find(key);
    return found == values.end() ? fallback : found->second;
  }

  std::map<Ctl, std::string> texts_;
  std::map<Ctl, bool> enabled_;
  std::map<Ctl, bool> checked_;
  std::map<Ctl, int> combos_;
  std::map<std::string, bool> menuChecked_;
};
