#pragma once
// The one tooltip window of the program, made when the first control asks
// for a tip. Each control keeps its text for as long as the window lives.
#include <windows.h>

#include <string>
#include <vector>

class SharedTooltip {
 public:
  // Shows `text` while the mouse rests on `control`, also while the control
  // is disabled. \r\n in the text breaks the line.
  void Attach(HWND control, const std::string& text);
  // The tips' font, and the width at which their lines wrap.
  void SetLook(HFONT font, int maxWidth);
  // After the controls moved or the DPI changed.
  void Relayout(HFONT font, int maxWidth);

 private:
  HWND Window(HWND anyControl);
  void AddTools(HWND control, const std::string& text);

  HWND tip_ = nullptr;
  std::vector<HWND> controls_;
};
