// When the loopback server lets go of a connection, played with a clock
// and a set of open connections of the test's own, as the server keeps
// them: in the order they came.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/loopback_connection_policy.h"

namespace {

using loopback::Connection;

TEST(LoopbackConnectionPolicy, IdleTlsAndHalfRequestsHaveShortTimes) {
  for (unsigned char byte : {'G', 'P', 'o', '-', '!'}) EXPECT_TRUE(loopback::CanStartHttpMethod(byte)) << byte;
  for (unsigned char byte : {0x16, 0x80, 0xFF, 0x20, 0x0D, 0x28, 0x00}) EXPECT_FALSE(loopback::CanStartHttpMethod(byte)) << +byte;

  const std::uint32_t accepted = 0xFFFFFE00;  // the tick count wraps meanwhile
  const struct {
    Connection connection;
    std::uint32_t limit;
  } phases[] = {{{accepted, false, false}, 1000}, {{accepted, true, false}, 3000}, {{accepted, true, true}, 5000}};
  for (const auto& [connection, limit] : phases) {
    EXPECT_FALSE(loopback::OutOfTime(connection, accepted + limit - 1)) << limit;
    EXPECT_TRUE(loopback::OutOfTime(connection, accepted + limit)) << limit;
  }
}

TEST(LoopbackConnectionPolicy, ANewcomerTakesTheSlotOfTheOldestIncompleteRequest) {
  std::vector<Connection> open(loopback::kMaxConnections, Connection{0, true, false});
  for (std::uint32_t i = 0; i < open.size(); ++i) open[i].since = i;  // who came when
  open[0].answering = true;  // being answered: never cut short
  const auto arrive = [&](std::uint32_t since) {
    if (open.size() >= loopback::kMaxConnections) {
      const std::size_t evicted = loopback::ConnectionToEvict(open);
      if (evicted == open.size()) return false;
      open.erase(open.begin() + static_cast<std::ptrdiff_t>(evicted));
    }
    open.push_back({since, false, false});
    return true;
  };
  const auto isOpen = [&](std::uint32_t since) {
    return std::any_of(open.begin(), open.end(), [&](const Connection& c) { return c.since == since; });
  };

  ASSERT_TRUE(arrive(100));  // the PAC fetch
  EXPECT_TRUE(isOpen(0));
  EXPECT_FALSE(isOpen(1));
  // The other client reconnects at once, again and again: the fetch is the
  // youngest, so every older connection gives way before it does.
  for (std::uint32_t again = 200; again < 206; ++again) ASSERT_TRUE(arrive(again));
  EXPECT_TRUE(isOpen(100));
  EXPECT_EQ(open.size(), loopback::kMaxConnections);

  for (Connection& c : open) c.answering = true;
  EXPECT_FALSE(arrive(300));  // every slot is being answered: turned away
}

}  // namespace
