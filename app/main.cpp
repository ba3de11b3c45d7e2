// vorelin [--root DIR]: the trainer. Logs the user in, then opens the main window on the
// data root, which is filled with the sample market when it is empty.
#include <QApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/main_window.h"
#include "app/qt_message_sink.h"
#include "app/startup.h"
#include "common/data_root.h"

int main(int argc, char** argv) {
  if (!vorelin::HasDisplay()) {
    std::fprintf(stderr, "vorelin: 没有图形显示（DISPLAY 未设置）；无显示器时请用 xvfb-run ./run.sh 启动。\n");
    return 1;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(vorelin::kApplicationTitle));
  QGuiApplication::setApplicationDisplayName(QString::fromUtf8(vorelin::kApplicationTitle));
  const std::filesystem::path root = vorelin::ResolveDataRoot(vorelin::FindRootOption(argc, argv));
  vorelin::QtMessageSink messages;
  std::string error;
  if (!vorelin::PrepareDataRoot(root, &error)) {
    messages.Show(error);
    return 1;
  }
  vorelin::TrainerStartup startup(root, messages);
  const std::string user = startup.LogIn();
  if (user.empty()) return 0;
  vorelin::TForm1 window(root, user, messages);
  window.AttachLoginLink(startup.Link());
  messages.SetParent(&window);
  window.show();
  return app.exec();
}
