#pragma once
// The system's ANSI code page (GetACP): CreateProcessA reads a command line
// in it, so the quoting of arguments has to know it.
class AnsiCodePage {
 public:
  virtual ~AnsiCodePage() = default;
  virtual unsigned Current() = 0;
};
