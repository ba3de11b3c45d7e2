// Messages and questions of the lower layers as modal message boxes over a window.
#pragma once

#include <QWidget>

#include "common/message_sink.h"

namespace vorelin {

class QtMessageSink final : public MessageSink {
 public:
  explicit QtMessageSink(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  void Show(const std::string& text) override;
  bool Ask(const std::string& text) override;

 private:
  QWidget* parent_;
};

// The caption every message box of the trainer carries.
inline constexpr const char* kMessageCaption = "提示";

}  // namespace vorelin
