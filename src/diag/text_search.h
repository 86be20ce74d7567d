#pragma once
// Searching and cutting GBK texts the way the HTTP client reads headers and
// cookies. A search only finds a marker that begins on a character
// boundary; ignoring case means ASCII letters only. Positions given to
// TextBefore and TextBetween are 1-based; a start below 1 counts as 1.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// 0-based byte offset of the first `marker` at or after byte `from`;
// npos when there is none, or the marker is empty.
std::size_t FindText(std::string_view text, std::string_view marker, std::size_t from = 0,
                     bool ignoreCase = false);

// The text before the first marker found from `start`; empty without one.
std::string TextBefore(std::string_view text, std::string_view marker, int start = 1,
                       bool ignoreCase = false);
// The text between `left` (looked for from `start`) and the next `right`;
// empty when either is missing. "#引号" in a marker stands for a double quote.
std::string TextBetween(std::string_view text, std::string_view left, std::string_view right,
                        int start = 1, bool ignoreCase = false);

// Every marker replaced by `with`.
std::string ReplaceText(std::string_view text, std::string_view marker, std::string_view with,
                        bool ignoreCase = false);

// Every separator ends an item, so two adjacent separators give an empty
// item; the rest after the last separator is an item only when not empty.
std::vector<std::string> SplitText(std::string_view text, std::string_view separator);

// A blank is the ASCII space or the full-width space (GBK A1 A1).
std::string TrimBlanks(std::string_view text);
std::string WithoutBlanks(std::string_view text);
