#pragma once
// GetACP.
#include "platform/ansi_code_page.h"

class Win32AnsiCodePage final : public AnsiCodePage {
 public:
  unsigned Current() override;
};
