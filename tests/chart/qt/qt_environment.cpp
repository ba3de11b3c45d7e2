// One GUI session for the whole test program: fonts and text need it.
#include <gtest/gtest.h>

#include "chart/qt/gui_session.h"

namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "chart_qt_tests";
    static char* argv[] = {name, nullptr};
    session_ = new vorelin::GuiSession(argc, argv);
  }
  void TearDown() override { delete session_; }

 private:
  vorelin::GuiSession* session_ = nullptr;
};

::testing::Environment* const kQtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
