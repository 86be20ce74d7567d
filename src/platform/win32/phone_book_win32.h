#pragma once
// The RAS phone book through RasEnumEntriesA, loaded when first needed.
#include "platform/phone_book.h"

class Win32PhoneBook final : public PhoneBook {
 public:
  std::vector<std::string> EntryNames() override;
};
