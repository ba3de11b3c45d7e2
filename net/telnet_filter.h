// Telnet negotiation on the login link: strips command sequences from the received bytes
// and answers the server's option requests (terminal type "VT100", no local echo).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vorelin {

inline constexpr const char* kTerminalType = "VT100";

class TelnetFilter {
 public:
  struct Result {
    std::string data;   // the bytes meant for the message decoder
    std::string reply;  // negotiation bytes to send back to the peer
  };

  // `answer_options` false: commands are only stripped, nothing is ever answered (the
  // reference server's side of the link).
  explicit TelnetFilter(bool answer_options = true) : answer_options_(answer_options) {}

  // Takes the next received chunk. A command split across chunks is completed by the next
  // call; subnegotiations longer than a small limit are dropped, not buffered.
  Result Feed(std::string_view chunk);

 private:
  enum class State { kData, kCommand, kOption, kSub, kSubCommand };
  void Answer(uint8_t verb, uint8_t option, std::string& reply);
  void EndSubnegotiation(std::string& reply);

  bool answer_options_;
  State state_ = State::kData;
  uint8_t verb_ = 0;
  std::string sub_;
  bool sub_overflow_ = false;
  std::array<bool, 256> we_do_{};    // options we have agreed to perform
  std::array<bool, 256> they_do_{};  // options we have asked the peer to perform
};

}  // namespace vorelin
