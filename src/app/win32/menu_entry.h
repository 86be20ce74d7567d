#pragma once
// One entry of a pop-up menu as both of the program's menus build it: "-"
// is a separator, the rest a text item, checked or greyed as its state
// says.
#include <windows.h>

#include <string>
#include <string_view>

inline void AppendMenuEntry(HMENU menu, std::string_view caption, UINT_PTR id, bool checked, bool enabled,
                            UINT extraFlags = 0) {
  if (caption == "-") {
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    return;
  }
  UINT flags = MF_STRING | extraFlags;
  if (checked) flags |= MF_CHECKED;
  if (!enabled) flags |= MF_GRAYED;
  AppendMenuA(menu, flags, id, std::string(caption).c_str());
}
