// Starts one of the reference servers from the build's bin folder on a free loopback port
// (it is asked for port 0 and reports the port it got) and stops it when done.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace vorelin {

class ServerProcess {
 public:
  ServerProcess() = default;
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;
  ~ServerProcess() { Stop(); }

  // Runs VORELIN_BIN_DIR/`program` with `args` + "--host 127.0.0.1 --port 0" and waits for
  // its "listening on" line. False when it does not come up within a few seconds.
  bool Start(const std::string& program, const std::vector<std::string>& args);
  // Ends the server with SIGKILL (an abrupt end, as a crash or pulled cable would be).
  void Kill();
  void Stop();
  bool IsRunning() const;

  int Port() const { return port_; }
  // The server's resident memory in KiB, now and at its peak, from /proc.
  long ResidentKb() const { return StatusKb("VmRSS:"); }
  long PeakResidentKb() const { return StatusKb("VmHWM:"); }

 private:
  long StatusKb(const std::string& field) const;

  pid_t pid_ = -1;
  int port_ = 0;
};

// Runs VORELIN_BIN_DIR/`program` with `args` to its end; its exit status, -1 on failure.
int RunProgram(const std::string& program, const std::vector<std::string>& args);

}  // namespace vorelin
