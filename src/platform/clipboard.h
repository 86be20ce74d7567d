#pragma once
// The system clipboard's plain text (CF_TEXT, GBK bytes).
#include <string>
#include <string_view>

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // The text up to its first NUL; empty when the clipboard holds no text
  // or cannot be opened.
  virtual std::string ReadText() = 0;
  // Replaces the clipboard's content with `text`; false when it could not.
  virtual bool WriteText(std::string_view text) = 0;
};
