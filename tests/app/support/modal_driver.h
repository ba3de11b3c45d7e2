// Window tests drive modal dialogs from inside their exec(): the step runs as soon as a
// modal window of the wanted type is active, then the test carries on after exec returns.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace vorelin::testing {

// Runs `step` on the first active modal window of type T (within five seconds).
template <class T>
void WhenModal(std::function<void(T&)> step) {
  auto tries = std::make_shared<int>(0);
  auto poll = std::make_shared<std::function<void()>>();
  *poll = [step, tries, poll] {
    if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
      step(*dialog);
      return;
    }
    if (++*tries < 500) QTimer::singleShot(10, *poll);
  };
  QTimer::singleShot(0, *poll);
}

}  // namespace vorelin::testing
