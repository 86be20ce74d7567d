#pragma once
// The last line of output that arrives in pieces of any size, kept in a
// bounded space however much comes: what a balloon shows of what the engine
// printed.
#include <cstddef>
#include <string>
#include <string_view>

class LastLine {
 public:
  void Add(std::string_view piece);
  // The last line holding more than blanks, without its line break; a line
  // not yet ended counts too. Empty when there is none.
  std::string Get() const;

  // A line longer than this keeps only its beginning.
  static constexpr std::size_t kMaxBytes = 512;

 private:
  std::string current_;   // the line being received
  std::string finished_;  // the last finished line holding more than blanks
};
