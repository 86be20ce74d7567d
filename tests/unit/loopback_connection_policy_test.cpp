// When the loopback server lets go of a connection, played with a clock
// and open connections of the test's own, kept as the server keeps them:
// in the order they came.
#include <gtest/gtest.h>

#include <vector>

#include "platform/loopback_connection_policy.h"

namespace {

using loopback::Connection;

TEST(LoopbackConnectionPolicy, IdleTlsAndHalfRequestsGiveWay) {
  for (unsigned char byte : {'G', 'P', 'o', '-'}) EXPECT_TRUE(loopback::CanStartHttpMethod(byte)) << byte;
  for (unsigned char byte : {0x16, 0x80, 0x20, 0x0D, 0x00}) EXPECT_FALSE(loopback::CanStartHttpMethod(byte)) << +byte;

  const std::uint32_t since = 0xFFFFFE00;  // the tick count wraps meanwhile
  const struct {
    Connection connection;
    std::uint32_t limit;
  } phases[] = {{{since, false, false}, 1000}, {{since, true, false}, 3000}, {{since, true, true}, 5000}};
  for (const auto& [connection, limit] : phases) {
    EXPECT_FALSE(loopback::OutOfTime(connection, since + limit - 1)) << limit;
    EXPECT_TRUE(loopback::OutOfTime(connection, since + limit)) << limit;
  }

  // Every slot held (one being answered); each newcomer closes the oldest
  // incomplete request, so a fetch that came last outlives the reconnects
  // of the others.
  std::vector<Connection> open(loopback::kMaxConnections, Connection{0, true, false});
  open[0].answering = true;
  for (std::uint32_t newcomer = 1; newcomer <= 7; ++newcomer) {
    const std::size_t evicted = loopback::ConnectionToEvict(open);
    ASSERT_EQ(evicted, 1u) << newcomer;
    open.erase(open.begin() + 1);
    open.push_back({newcomer, false, false});
  }
  EXPECT_EQ(open[1].since, 1u);  // the first newcomer is still there
  for (Connection& connection : open) connection.answering = true;
  EXPECT_EQ(loopback::ConnectionToEvict(open), open.size());  // turned away
}

}  // namespace
