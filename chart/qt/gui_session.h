// The Qt GUI layer for programs without a window (the renderer, tests, benchmarks): fonts
// and text need it. Picks the offscreen platform when there is no display.
#pragma once

#include <memory>

class QGuiApplication;

namespace vorelin {

class GuiSession {
 public:
  // `argc` and `argv` must outlive the session.
  GuiSession(int& argc, char** argv);
  ~GuiSession();
  GuiSession(const GuiSession&) = delete;
  GuiSession& operator=(const GuiSession&) = delete;

 private:
  std::unique_ptr<QGuiApplication> app_;
};

}  // namespace vorelin
