#pragma once
// The Windows clipboard as text (CF_TEXT, GBK under code page 936), shared by
// the driver and the program under test.
#include <optional>
#include <string>
#include <string_view>

namespace e2e {

// The clipboard's text; nothing when it holds no text or cannot be opened.
std::optional<std::string> ClipboardText();
// The clipboard's Unicode text (CF_UNICODETEXT).
std::optional<std::wstring> ClipboardUnicodeText();
// Replaces the clipboard's content with the text.
bool SetClipboardText(std::string_view text);

}  // namespace e2e
