// What the trainer does before its main window: a display to show it on, a data root with
// a market in it, the login server for one machine, the login link and the login dialog.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "app/local_login_server.h"
#include "app/qt_login_link.h"
#include "common/message_sink.h"

namespace vorelin {

inline constexpr const char* kApplicationTitle = "Vorelin训练系统股票版";

// False when Qt would find no screen: no X or Wayland display and no platform chosen.
bool HasDisplay();
// Creates the data root when missing, writes the multi-period formula "mac.wfc" when it is
// not there, and the sample market when the root has no data folders yet. False with a
// message when the root or the market cannot be made.
bool PrepareDataRoot(const std::filesystem::path& root, std::string* error);

class TrainerStartup {
 public:
  // Starts the bundled login server when the configured one is this machine and silent.
  TrainerStartup(std::filesystem::path root, MessageSink& messages);

  // Shows the login dialog modally; the accepted user's name, empty when nobody logged in.
  std::string LogIn();
  // The link stays open for the whole run; the main window takes it over.
  QtLoginLink& Link() { return *link_; }

 private:
  std::filesystem::path root_;
  MessageSink& messages_;
  LocalLoginServer local_server_;
  std::unique_ptr<QtLoginLink> link_;
};

}  // namespace vorelin
