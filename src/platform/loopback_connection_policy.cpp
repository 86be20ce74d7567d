#include "platform/loopback_connection_policy.h"

#include <string_view>

namespace loopback {

bool CanStartHttpMethod(unsigned char byte) {
  constexpr std::string_view kTokenMarks = "!#$%&'*+-.^_`|~";
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
         kTokenMarks.find(static_cast<char>(byte)) != std::string_view::npos;
}

bool OutOfTime(const Connection& connection, std::uint32_t now) {
  const std::uint32_t limit = connection.answering ? kAnswerMs : connection.sentAny ? kRequestMs : kFirstByteMs;
  return now - connection.since >= limit;
}

std::size_t ConnectionToEvict(std::span<const Connection> open) {
  for (std::size_t i = 0; i < open.size(); ++i)
    if (!open[i].answering) return i;
  return open.size();
}

}  // namespace loopback
