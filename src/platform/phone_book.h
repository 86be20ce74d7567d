#pragma once
// The user's dial-up and VPN connection entries (the RAS phone book).
#include <string>
#include <vector>

class PhoneBook {
 public:
  virtual ~PhoneBook() = default;
  // The entry names in the system's order; empty when the listing fails.
  virtual std::vector<std::string> EntryNames() = 0;
};
