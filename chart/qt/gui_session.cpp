// Starts and ends the QGuiApplication of a windowless program.
#include "chart/qt/gui_session.h"

#include <QGuiApplication>
#include <cstdlib>

namespace vorelin {

GuiSession::GuiSession(int& argc, char** argv) {
  if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
  }
  app_ = std::make_unique<QGuiApplication>(argc, argv);
}

GuiSession::~GuiSession() = default;

}  // namespace vorelin
