// On a single machine the trainer brings its own login server: when the configured login
// server is this machine and nobody answers there, the bundled vorelin-login-server is
// started beside the program and ended with it.
#pragma once

#include <QProcess>
#include <QString>

#include <filesystem>
#include <memory>
#include <string>

namespace vorelin {

inline constexpr const char* kLoginServerProgram = "vorelin-login-server";
inline constexpr const char* kLoginUsersFile = "users.db";

class LocalLoginServer {
 public:
  // `program_folder` holds the server program; by default the running program's folder.
  explicit LocalLoginServer(QString program_folder = {});
  LocalLoginServer(const LocalLoginServer&) = delete;
  LocalLoginServer& operator=(const LocalLoginServer&) = delete;
  // Ends the server this object started, if any.
  ~LocalLoginServer();

  // True when a login server can be expected at host:port: another machine's (nothing is
  // started), one already answering here, or the one started now with root/users.db, once it
  // accepts connections. False with a message for the user when it could not be started.
  bool EnsureRunning(const std::string& host, int port, const std::filesystem::path& root,
                     std::string* error);

 private:
  void Stop();

  QString program_folder_;
  std::unique_ptr<QProcess> process_;
};

}  // namespace vorelin
