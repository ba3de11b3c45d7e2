// The login link's framing against a scripted peer on loopback: telnet negotiation mixed into
// the stream is answered and never decoded, a message split across segments arrives whole,
// and bytes after a zero byte are not part of the message.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <chrono>
#include <thread>

#include "net/login_link.h"
#include "net/login_replies.h"
#include "net/socket_util.h"

namespace vorelin {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}

bool PollUntil(LoginLink& link, const std::function<bool()>& until, int timeout_ms = 5000) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!until() && std::chrono::steady_clock::now() < deadline) link.Poll(20);
  return until();
}

TEST(LoginLink, NegotiationSplitMessagesAndZeroBytes) {
  int port = 0;
  std::string error;
  SocketFd listener = ListenTcp("127.0.0.1", 0, port, error);
  ASSERT_TRUE(listener.IsOpen()) << error;

  std::string welcome = EncodeServerMessage([] {
    ServerMessage m;
    m.code = 7;
    m.texts = {"欢迎", "，甲", "！"};
    return m;
  }());
  std::string peer_received;
  std::thread peer([&] {
    SocketFd c(::accept(listener.Get(), nullptr, nullptr));
    SendAll(c.Get(), Bytes({255, 253, 24}));  // DO TERMINAL-TYPE
    SendAll(c.Get(), Bytes({255, 250, 24, 1, 255, 240}));  // SEND
    char buffer[512];
    // Wait for the client's line, then answer in awkward pieces.
    while (peer_received.find("\r\n") == std::string::npos) {
      ssize_t got = ::recv(c.Get(), buffer, sizeof buffer, 0);
      if (got <= 0) return;
      peer_received.append(buffer, got);
    }
    SendAll(c.Get(), welcome.substr(0, 5));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    SendAll(c.Get(), Bytes({255, 251, 1}) + welcome.substr(5) + "\r\n" +
                         EncodeServerMessage(ServerMessage{8, 0, {}}) + std::string(1, '\0') +
                         "junk\r\n");
    ::recv(c.Get(), buffer, sizeof buffer, 0);  // until the client hangs up
  });

  LoginLink link(LoginServerAddress{"127.0.0.1", "127.0.0.1", port});
  std::vector<ServerMessage> replies;
  link.SetReplyHandler([&](const ServerMessage& m) { replies.push_back(m); });
  EXPECT_FALSE(link.Send(LoginMessage("甲", "pw")));  // not connected yet
  ASSERT_TRUE(link.Open());
  ASSERT_TRUE(PollUntil(link, [&] { return link.IsConnected(); }));
  // Let the negotiation arrive before the login goes out.
  PollUntil(link, [] { return false; }, 200);
  ASSERT_TRUE(link.Send(LoginMessage("甲", "pw")));
  ASSERT_TRUE(PollUntil(link, [&] { return replies.size() == 2; }));
  link.Close();
  peer.join();

  EXPECT_EQ(replies[0].code, 7);
  EXPECT_EQ(DecideLoginReply(replies[0], "").message, "欢迎，甲！");
  EXPECT_EQ(replies[1].code, 8);
  std::string expected_negotiation = Bytes({255, 251, 24, 255, 250, 24, 0}) + "VT100" +
                                     Bytes({255, 240});
  ASSERT_GE(peer_received.size(), expected_negotiation.size());
  EXPECT_EQ(peer_received.substr(0, expected_negotiation.size()), expected_negotiation);
  EXPECT_EQ(peer_received.substr(expected_negotiation.size()),
            EncodeServerMessage(LoginMessage("甲", "pw")) + "\r\n");
}

}  // namespace
}  // namespace vorelin
