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
// The text is GBK. Windows turns the command line into UTF-16 before
// splitting it, so the second byte of a double-byte character is never a
// backslash there, even when it has the same value (0x5C); the quoting steps
// over whole characters. A lead byte with no valid second byte is no GBK
// character and could swallow the escape that follows it, so it becomes "?".
#include <string>
#include <string_view>

// Always in double quotes: `text` comes back as one argument, also when it
// is empty or holds blanks, quotes or backslashes.
std::string QuoteArgument(std::string_view text);
// Left bare when it is not empty and holds no blank, tab, line break or
// double quote; quoted as above otherwise.
std::string QuoteArgumentIfNeeded(std::string_view text);
// The program at the head of a command line, in double quotes, so a path
// with blanks names that file and not the part before the first blank. A
// file name cannot hold a double quote, so any is dropped.
std::string QuoteProgramPath(std::string_view path);
