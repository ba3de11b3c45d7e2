// fork/exec of the reference servers for the end-to-end tests.
#include "server_process.h"

#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace vorelin {
namespace {

std::vector<char*> Argv(const std::string& path, const std::vector<std::string>& args) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(path.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  return argv;
}

}  // namespace

bool ServerProcess::Start(const std::string& program, const std::vector<std::string>& args) {
  std::string path = std::string(VORELIN_BIN_DIR) + "/" + program;
  std::vector<std::string> all = args;
  all.insert(all.end(), {"--host", "127.0.0.1", "--port", "0"});
  int out[2];
  if (pipe(out) != 0) return false;
  std::vector<char*> argv = Argv(path, all);
  pid_ = fork();
  if (pid_ == 0) {
    // A test that crashes must not leave its server running (and holding its output pipes).
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    dup2(out[1], 1);
    close(out[0]);
    close(out[1]);
    execv(path.c_str(), argv.data());
    _exit(127);
  }
  close(out[1]);
  std::string line;
  pollfd p{out[0], POLLIN, 0};
  while (line.find('\n') == std::string::npos && poll(&p, 1, 5000) == 1) {
    char c[256];
    ssize_t got = read(out[0], c, sizeof c);
    if (got <= 0) break;
    line.append(c, got);
  }
  close(out[0]);
  size_t colon = line.rfind(':');
  if (line.rfind("listening on ", 0) != 0 || colon == std::string::npos) {
    Stop();
    return false;
  }
  port_ = std::stoi(line.substr(colon + 1));
  return true;
}

void ServerProcess::Kill() {
  if (pid_ <= 0) return;
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

void ServerProcess::Stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  for (int i = 0; i < 100; ++i) {
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
      pid_ = -1;
      return;
    }
    usleep(20000);
  }
  Kill();
}

bool ServerProcess::IsRunning() const {
  return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0;
}

long ServerProcess::StatusKb(const std::string& field) const {
  std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::stol(line.substr(field.size()));
  }
  return -1;
}

int RunProgram(const std::string& program, const std::vector<std::string>& args) {
  std::string path = std::string(VORELIN_BIN_DIR) + "/" + program;
  std::vector<char*> argv = Argv(path, args);
  pid_t pid = fork();
  if (pid == 0) {
    int null = open("/dev/null", 1);
    dup2(null, 1);
    execv(path.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace vorelin
