// Telnet negotiation on the login link: commands are answered as a VT100 terminal without
// local echo and never reach the message decoder.
#include <gtest/gtest.h>

#include "net/telnet_filter.h"

namespace vorelin {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}

constexpr int IAC = 255, DONT = 254, DO = 253, WONT = 252, WILL = 251, SB = 250, SE = 240;

struct Case {
  const char* name;
  std::string input;
  std::string data;
  std::string reply;
};

TEST(TelnetFilter, AnswersAndStrips) {
  const Case cases[] = {
      {"plain data passes", "QUJD\r\n", "QUJD\r\n", ""},
      {"terminal type accepted", Bytes({IAC, DO, 24}), "", Bytes({IAC, WILL, 24})},
      {"suppress go-ahead both ways", Bytes({IAC, DO, 3, IAC, WILL, 3}), "",
       Bytes({IAC, WILL, 3, IAC, DO, 3})},
      {"no local echo", Bytes({IAC, DO, 1}), "", Bytes({IAC, WONT, 1})},
      {"server echo refused", Bytes({IAC, WILL, 1}), "", Bytes({IAC, DONT, 1})},
      {"unknown option refused", Bytes({IAC, DO, 31}), "", Bytes({IAC, WONT, 31})},
      {"refusals of unrequested options not answered", Bytes({IAC, DONT, 5, IAC, WONT, 5}), "", ""},
      {"escaped 255 is data", "a" + Bytes({IAC, IAC}) + "b", "a" + Bytes({255}) + "b", ""},
      {"two-byte commands dropped", "x" + Bytes({IAC, 241, IAC, 249}) + "y", "xy", ""},
      {"terminal type sent when asked",
       Bytes({IAC, DO, 24, IAC, SB, 24, 1, IAC, SE}) + "ok", "ok",
       Bytes({IAC, WILL, 24, IAC, SB, 24, 0}) + "VT100" + Bytes({IAC, SE})},
      {"terminal type not sent before agreeing to the option",
       Bytes({IAC, SB, 24, 1, IAC, SE}), "", ""},
      {"repeated request acknowledged once", Bytes({IAC, DO, 24, IAC, DO, 24}), "",
       Bytes({IAC, WILL, 24})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TelnetFilter filter;
    TelnetFilter::Result r = filter.Feed(c.input);
    EXPECT_EQ(r.data, c.data);
    EXPECT_EQ(r.reply, c.reply);
  }
}

TEST(TelnetFilter, CommandSplitAcrossChunksIsCompleted) {
  TelnetFilter filter;
  std::string stream = "ab" + Bytes({IAC, DO, 24, IAC, SB, 24, 1, IAC, SE}) + "cd";
  std::string data, reply;
  for (char c : stream) {
    TelnetFilter::Result r = filter.Feed(std::string(1, c));
    data += r.data;
    reply += r.reply;
  }
  EXPECT_EQ(data, "abcd");
  EXPECT_EQ(reply, Bytes({IAC, WILL, 24, IAC, SB, 24, 0}) + "VT100" + Bytes({IAC, SE}));
}

TEST(TelnetFilter, OverlongSubnegotiationIsDroppedAndDataResumes) {
  TelnetFilter filter;
  std::string input = Bytes({IAC, DO, 24, IAC, SB, 24, 1}) + std::string(10000, 'x') +
                      Bytes({IAC, SE}) + "after";
  TelnetFilter::Result r = filter.Feed(input);
  EXPECT_EQ(r.data, "after");
  EXPECT_EQ(r.reply, Bytes({IAC, WILL, 24}));
}

TEST(TelnetFilter, PassiveSideOnlyStrips) {
  TelnetFilter filter(false);
  TelnetFilter::Result r = filter.Feed(Bytes({IAC, WILL, 24, IAC, DO, 3}) + "line\r\n");
  EXPECT_EQ(r.data, "line\r\n");
  EXPECT_EQ(r.reply, "");
}

}  // namespace
}  // namespace vorelin
