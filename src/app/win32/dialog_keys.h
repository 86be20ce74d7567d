#pragma once
// Keyboard handling as in a dialog (Tab moves between controls, Esc cancels)
// for the top-level windows that are not dialogs. The main window always has
// it; a window it owns asks for it with this property, which the message
// loop looks for on the top-level window a message goes to.
#include <windows.h>

inline constexpr char kDialogKeysProperty[] = "CorvaneDialogKeys";

// The top-level window of `target` when that window asked for dialog keys.
inline HWND DialogKeysWindow(HWND target) {
  HWND top = target ? GetAncestor(target, GA_ROOT) : nullptr;
  return top && GetPropA(top, kDialogKeysProperty) ? top : nullptr;
}
