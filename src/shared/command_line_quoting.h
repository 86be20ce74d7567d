#pragma once
// Texts made into command-line arguments that a Windows program splits back
// exactly as they were. CommandLineToArgvW and the C runtime's argv agree
// on these rules: blanks and tabs outside double quotes separate arguments,
// a double quote opens or closes a quoted part, and backslashes are plain
// characters except in front of a double quote, where 2n of them stand for
// n backslashes and a quote that opens or closes, and 2n+1 of them for n
// backslashes and a literal double quote. The first argument, the program,
// is the exception: it runs to the next double quote with no escapes.
//
// CreateProcessA turns the command line into UTF-16 with the system's ANSI
// code page before it is split, so what counts as one character is decided
// by that code page, not by the program's own GBK: on a double-byte code
// page (936, 932, 949, 950) the second byte of a character is never a
// backslash or a quote there, even when it has the same value, and the
// quoting steps over whole characters; on any other code page (1252, the
// UTF-8 option 65001) every byte below 0x80 is a character of its own, and
// "é\"" is "é", a backslash and a quote. A lead byte with no valid second
// byte could swallow the escape that follows it, so it becomes "?".
#include <string>
#include <string_view>

inline constexpr unsigned kGbkCodePage = 936;

// Always in double quotes: `text` comes back as one argument, also when it
// is empty or holds blanks, quotes or backslashes.
std::string QuoteArgument(std::string_view text, unsigned codePage);
// Left bare when it is not empty and holds no blank, tab, line break or
// double quote; quoted as above otherwise.
std::string QuoteArgumentIfNeeded(std::string_view text, unsigned codePage);
// The program at the head of a command line, in double quotes, so a path
// with blanks names that file and not the part before the first blank. A
// file name cannot hold a double quote, so any is dropped.
std::string QuoteProgramPath(std::string_view path, unsigned codePage);
