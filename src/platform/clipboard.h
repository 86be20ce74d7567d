#pragma once
// The system clipboard's plain text, GBK bytes on this side.
#include <string>
#include <string_view>

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // The text up to its first NUL; empty when the clipboard holds no text
  // or cannot be opened.
  virtual std::string ReadText() = 0;
  // Replaces the clipboard's content with `text`, as ANSI text (CF_TEXT,
  // GBK) and as Unicode text (CF_UNICODETEXT) made from GBK, so programs
  // that paste Unicode get the same characters whatever the keyboard
  // layout. False when the clipboard could not be opened or would not take
  // the text.
  virtual bool WriteText(std::string_view text) = 0;
};
