// The tests' MessageSink: keeps every text instead of opening a modal box, and can look at
// the state (or the windows) at the moment a text is shown.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/message_sink.h"

namespace vorelin::testing {

class RecordingMessages : public MessageSink {
 public:
  void Show(const std::string& text) override {
    shown.push_back(text);
    if (on_show) on_show(text);
  }
  bool Ask(const std::string& text) override {
    asked.push_back(text);
    return answer;
  }
  std::string Last() const { return shown.empty() ? std::string() : shown.back(); }

  std::vector<std::string> shown;
  std::vector<std::string> asked;
  bool answer = true;
  std::function<void(const std::string&)> on_show;
};

}  // namespace vorelin::testing
