// How lower layers show a message or ask a question without opening a window: the app
// implements this with message boxes, tests record the texts.
#pragma once

#include <string>

namespace vorelin {

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void Show(const std::string& text) = 0;
  // True when the user confirms (OK / Yes).
  virtual bool Ask(const std::string& text) = 0;
};

}  // namespace vorelin
