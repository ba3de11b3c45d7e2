#include "app/local_login_server.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>

#include "common/format.h"
#include "net/socket_util.h"

namespace vorelin {
namespace {

// The server listens on IPv4 loopback, whichever loopback name the settings use.
constexpr const char* kLoopback = "127.0.0.1";
constexpr int kProbeMs = 300;
constexpr int kStartMs = 3000;

bool Answers(int port, int timeout_ms) { return ConnectTcp(kLoopback, port, timeout_ms).IsOpen(); }

}  // namespace

LocalLoginServer::LocalLoginServer(QString program_folder)
    : program_folder_(program_folder.isEmpty() ? QCoreApplication::applicationDirPath()
                                               : std::move(program_folder)) {}

LocalLoginServer::~LocalLoginServer() { Stop(); }

bool LocalLoginServer::EnsureRunning(const std::string& host, int port,
                                     const std::filesystem::path& root, std::string* error) {
  if (!IsLoopbackHost(host) || Answers(port, kProbeMs)) return true;
  Stop();  // one started earlier that no longer answers

  const QString program = program_folder_ + "/" + kLoginServerProgram;
  if (!QFileInfo(program).isExecutable()) {
    *error = "找不到登录服务器程序：" + program.toStdString();
    return false;
  }
  const std::string database = (root / kLoginUsersFile).string();
  process_ = std::make_unique<QProcess>();
  process_->setStandardOutputFile(QProcess::nullDevice());
  process_->start(program, {"--host", kLoopback, "--port", QString::number(port), "--db",
                            QString::fromStdString(database)});
  if (!process_->waitForStarted(kStartMs)) {
    *error = "登录服务器无法启动：" + process_->errorString().toStdString();
    process_.reset();
    return false;
  }
  const QDeadlineTimer deadline(kStartMs);
  while (!deadline.hasExpired()) {
    if (Answers(port, 100)) return true;
    if (process_->state() == QProcess::NotRunning || process_->waitForFinished(50)) break;
  }
  std::string reason = process_->readAllStandardError().trimmed().toStdString();
  Stop();
  *error = Format("登录服务器未能在端口 %d 上启动", port) + (reason.empty() ? "" : "：" + reason);
  return false;
}

void LocalLoginServer::Stop() {
  if (!process_) return;
  if (process_->state() != QProcess::NotRunning) {
    process_->terminate();
    if (!process_->waitForFinished(2000)) {
      process_->kill();
      process_->waitForFinished(2000);
    }
  }
  process_.reset();
}

}  // namespace vorelin
