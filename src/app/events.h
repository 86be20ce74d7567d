#pragma once
// Where the window's events enter the program's behaviour. The Win32 window
// translates its notifications into these calls on the window's thread.
#include <string>
#include <string_view>
#include <vector>

#include "context/controls.h"

struct AppContext;

enum class ControlEvent {
  Clicked,           // buttons, check boxes; on the list: a click on the row already selected
  ContentChanged,    // an edit box's text changed (by the user or the program)
  LostFocus,
  ItemChosen,        // an item was chosen from the combo box's list
  SelectionChanged,  // the user moved the list's selection (mouse, keys, type-ahead);
                     // the program's own selections are not reported
  ContextMenu,       // the list: a right click on a row, the menu key or Shift+F10
  HeaderClicked,     // the list: a click on the header of its last column, "延迟"
};

void OnControlEvent(AppContext& app, Ctl control, ControlEvent event);
void OnMenuCommand(AppContext& app, std::string_view item);  // design caption
void OnFilesDropped(AppContext& app, const std::vector<std::string>& paths);
void OnTrayEvent(AppContext& app, int code);
