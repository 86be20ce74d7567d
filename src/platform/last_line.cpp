#include "platform/last_line.h"

#include <algorithm>

namespace {

bool Blank(std::string_view line) { return line.find_first_not_of(" \t\r") == std::string_view::npos; }

std::string WithoutBreak(std::string line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  return line;
}

}  // namespace

void LastLine::Add(std::string_view piece) {
  while (!piece.empty()) {
    const std::size_t end = piece.find('\n');
    const std::string_view part = piece.substr(0, end);
    current_.append(part.substr(0, kMaxBytes - std::min(kMaxBytes, current_.size())));
    if (end == std::string_view::npos) return;
    if (!Blank(current_)) finished_ = WithoutBreak(current_);
    current_.clear();
    piece.remove_prefix(end + 1);
  }
}

std::string LastLine::Get() const { return Blank(current_) ? finished_ : WithoutBreak(current_); }
