// A MessageSink that keeps every text it is asked to show.
#pragma once

#include <string>
#include <vector>

#include "common/message_sink.h"

namespace vorelin {

class RecordingMessages : public MessageSink {
 public:
  void Show(const std::string& text) override { shown.push_back(text); }
  bool Ask(const std::string& text) override {
    asked.push_back(text);
    return answer;
  }
  std::vector<std::string> shown;
  std::vector<std::string> asked;
  bool answer = true;
};

}  // namespace vorelin
