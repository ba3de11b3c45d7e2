// One QGuiApplication for the whole test program: fonts and text need it.
#include <gtest/gtest.h>

#include <QGuiApplication>

namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "chart_qt_tests";
    static char* argv[] = {name, nullptr};
    app_ = new QGuiApplication(argc, argv);
  }
  void TearDown() override { delete app_; }

 private:
  QGuiApplication* app_ = nullptr;
};

::testing::Environment* const kQtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
