#pragma once
// The texts around an HTTP exchange: the request's header block with its
// browser-like defaults, and what the response's header block and body
// tell (status, cookies, redirect target, character set).
#include <optional>
#include <string>
#include <string_view>

// "GET" for code 0 and for any code outside 0 to 7.
std::string_view MethodVerb(int method);

// The caller's lines (CR LF separated) followed by each default line whose
// header the text built so far lacks. Content-Type is a default of POST
// (code 1) only; a Cookie line is added for non-empty `sendCookies`.
std::string BuildRequestHeaders(std::string_view extraHeaders, int method, std::string_view sendCookies);

// The status line's code and reason ("200 OK"): from byte 10 of the block
// up to the next CR LF.
std::string StatusTextOf(std::string_view responseHeaders);

// Reads the header block line by line: the first "name=value" of every
// "Set-Cookie: " line is appended to `receivedCookies` with "; ", and a
// "Location: " line (any case) sets `location`. Finally the last two bytes
// of `receivedCookies` are cut, the separator behind the last cookie.
void ReadResponseHeaderLines(std::string_view responseHeaders, std::string& receivedCookies,
                             std::optional<std::string>& location);

// The character set a page names in a meta element within its first 1024
// bytes; empty when it names none.
std::string DeclaredCharset(std::string_view bodyText);
// Whether a page in `charset` must be read again: GBK pages ("gbk" and
// "gb2312", exact case) are already the program's text.
bool NeedsRedecoding(std::string_view charset);
