// Which connection a full reference server gives up for a new client, and which count as idle.
#include <gtest/gtest.h>

#include <algorithm>

#include "net/connection_roster.h"

namespace vorelin {
namespace {

using std::chrono::seconds;
const ServerClock::time_point t0{};
constexpr uint32_t kA = 0x7F000002;
constexpr uint32_t kB = 0x7F000003;

TEST(ConnectionRoster, AFullAddressGivesUpItsLongestIdleEvenWhenAnotherIsOlder) {
  ConnectionRoster roster(2, 10);
  roster.Add(1, kB, t0);  // the oldest of all, but from another address
  roster.Add(2, kA, t0 + seconds(1));
  roster.Add(3, kA, t0 + seconds(2));
  EXPECT_EQ(roster.MakeRoom(kA), 2u);
  EXPECT_EQ(roster.MakeRoom(kB), std::nullopt);
  roster.Touch(2, t0 + seconds(3));
  EXPECT_EQ(roster.MakeRoom(kA), 3u);
  roster.Remove(3);
  EXPECT_EQ(roster.MakeRoom(kA), std::nullopt);
}

TEST(ConnectionRoster, AFullServerGivesUpTheLongestIdleOfAll) {
  ConnectionRoster roster(10, 3);
  roster.Add(1, kA, t0 + seconds(1));
  roster.Add(2, kB, t0);
  roster.Add(3, kA, t0 + seconds(2));
  EXPECT_EQ(roster.MakeRoom(0x7F000004), 2u);
  roster.Touch(2, t0 + seconds(5));
  EXPECT_EQ(roster.MakeRoom(0x7F000004), 1u);
  EXPECT_EQ(roster.IdleLongest(), 1u);
}

TEST(ConnectionRoster, TiesGoToTheEarlierConnectionAndLimitsAreAtLeastOne) {
  ConnectionRoster roster(0, 0);
  roster.Add(7, kA, t0);
  EXPECT_EQ(roster.MakeRoom(kB), 7u);
  roster.Add(5, kB, t0);
  EXPECT_EQ(roster.IdleLongest(), 5u);
}

TEST(ConnectionRoster, IdleConnectionsAndTheOldestActivity) {
  ConnectionRoster roster(10, 10);
  EXPECT_EQ(roster.OldestActivity(), std::nullopt);
  EXPECT_EQ(roster.IdleLongest(), std::nullopt);
  roster.Add(1, kA, t0);
  roster.Add(2, kA, t0 + seconds(10));
  roster.Add(3, kB, t0 + seconds(20));
  roster.Touch(1, t0 + seconds(25));
  std::vector<uint64_t> idle = roster.IdleBefore(t0 + seconds(21));
  std::sort(idle.begin(), idle.end());
  EXPECT_EQ(idle, (std::vector<uint64_t>{2, 3}));
  EXPECT_EQ(roster.OldestActivity(), t0 + seconds(10));
  roster.Remove(2);
  roster.Remove(2);  // twice is harmless
  EXPECT_EQ(roster.Size(), 2u);
  EXPECT_EQ(roster.OldestActivity(), t0 + seconds(20));
}

}  // namespace
}  // namespace vorelin
