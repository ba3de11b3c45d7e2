// Telnet command parsing after RFC 854/1091: IAC sequences never reach the caller's data.
#include "net/telnet_filter.h"

namespace vorelin {
namespace {

constexpr uint8_t kIac = 255;
constexpr uint8_t kDont = 254;
constexpr uint8_t kDo = 253;
constexpr uint8_t kWont = 252;
constexpr uint8_t kWill = 251;
constexpr uint8_t kSb = 250;
constexpr uint8_t kSe = 240;
constexpr uint8_t kOptionSuppressGoAhead = 3;
constexpr uint8_t kOptionTerminalType = 24;
constexpr uint8_t kTerminalTypeIs = 0;
constexpr uint8_t kTerminalTypeSend = 1;
constexpr size_t kSubnegotiationLimit = 64;

void Put(std::string& out, uint8_t a, uint8_t b, uint8_t c) {
  out += static_cast<char>(a);
  out += static_cast<char>(b);
  out += static_cast<char>(c);
}

}  // namespace

void TelnetFilter::Answer(uint8_t verb, uint8_t option, std::string& reply) {
  if (!answer_options_) return;
  // Only a change of state is acknowledged, so two peers can never loop on each other.
  switch (verb) {
    case kDo: {
      bool supported = option == kOptionTerminalType || option == kOptionSuppressGoAhead;
      if (supported && !we_do_[option]) {
        we_do_[option] = true;
        Put(reply, kIac, kWill, option);
      } else if (!supported) {
        Put(reply, kIac, kWont, option);  // echo included: no local echo
      }
      break;
    }
    case kDont:
      if (we_do_[option]) {
        we_do_[option] = false;
        Put(reply, kIac, kWont, option);
      }
      break;
    case kWill: {
      // The server may suppress go-ahead; it must not echo our lines back.
      bool accepted = option == kOptionSuppressGoAhead;
      if (accepted && !they_do_[option]) {
        they_do_[option] = true;
        Put(reply, kIac, kDo, option);
      } else if (!accepted) {
        Put(reply, kIac, kDont, option);
      }
      break;
    }
    case kWont:
      if (they_do_[option]) {
        they_do_[option] = false;
        Put(reply, kIac, kDont, option);
      }
      break;
    default:
      break;
  }
}

void TelnetFilter::EndSubnegotiation(std::string& reply) {
  bool asks_terminal_type = !sub_overflow_ && sub_.size() >= 2 &&
                            static_cast<uint8_t>(sub_[0]) == kOptionTerminalType &&
                            static_cast<uint8_t>(sub_[1]) == kTerminalTypeSend;
  if (answer_options_ && asks_terminal_type && we_do_[kOptionTerminalType]) {
    Put(reply, kIac, kSb, kOptionTerminalType);
    reply += static_cast<char>(kTerminalTypeIs);
    reply += kTerminalType;
    reply += static_cast<char>(kIac);
    reply += static_cast<char>(kSe);
  }
  sub_.clear();
  sub_overflow_ = false;
}

TelnetFilter::Result TelnetFilter::Feed(std::string_view chunk) {
  Result result;
  for (char ch : chunk) {
    uint8_t b = static_cast<uint8_t>(ch);
    switch (state_) {
      case State::kData:
        if (b == kIac) state_ = State::kCommand; else result.data += ch;
        break;
      case State::kCommand:
        if (b == kIac) {
          result.data += ch;  // an escaped 255 is data
          state_ = State::kData;
        } else if (b == kDo || b == kDont || b == kWill || b == kWont) {
          verb_ = b;
          state_ = State::kOption;
        } else if (b == kSb) {
          sub_.clear();
          sub_overflow_ = false;
          state_ = State::kSub;
        } else {
          state_ = State::kData;  // two-byte commands (NOP, GA, ...) carry nothing for us
        }
        break;
      case State::kOption:
        Answer(verb_, b, result.reply);
        state_ = State::kData;
        break;
      case State::kSub:
        if (b == kIac) {
          state_ = State::kSubCommand;
        } else if (sub_.size() < kSubnegotiationLimit) {
          sub_ += ch;
        } else {
          sub_overflow_ = true;
        }
        break;
      case State::kSubCommand:
        if (b == kSe) {
          EndSubnegotiation(result.reply);
          state_ = State::kData;
        } else {
          if (b == kIac && sub_.size() < kSubnegotiationLimit) sub_ += ch;
          state_ = State::kSub;
        }
        break;
    }
  }
  return result;
}

}  // namespace vorelin
