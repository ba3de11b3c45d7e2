// Which server addresses count as this machine's loopback, where the trainer may start its
// own login server.
#include <gtest/gtest.h>

#include "net/socket_util.h"

namespace vorelin {
namespace {

struct HostCase {
  const char* host;
  bool loopback;
};
const HostCase kHosts[] = {
    {"127.0.0.1", true},      {"localhost", true},     {"LocalHost", true},
    {"::1", true},            {"127.0.0.2", false},    {"localhost.example.com", false},
    {"localhos", false},      {"", false},             {"192.168.1.10", false},
    {" 127.0.0.1", false},    {"0.0.0.0", false},
};

TEST(SocketUtil, LoopbackHosts) {
  for (const HostCase& c : kHosts) {
    SCOPED_TRACE(c.host);
    EXPECT_EQ(IsLoopbackHost(c.host), c.loopback);
  }
}

}  // namespace
}  // namespace vorelin
