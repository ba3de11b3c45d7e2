// Drawing one scripted pane on the recording canvas, with the layout the tests reason in:
// 300 × 200 pixels, no axes, no title, Scale 5 (so u = 5, P = 4, x(i) = 5i, c(i) = 5i + 2).
#pragma once

#include <string>

#include "chart/pane_painter.h"
#include "tests/chart/fake_formula.h"
#include "tests/chart/recording_canvas.h"

namespace vorelin::testing {

inline DrawPaneInput PlainPaneInput() {
  DrawPaneInput input;
  input.flags.time_sharing = false;
  input.flags.title = false;
  input.flags.left_axis = false;
  input.flags.high_low = false;
  input.scale = 5;
  return input;
}

inline RecordingCanvas DrawScripted(FakeFormula& formula, const DrawPaneInput& input, int width = 300,
                                    int height = 200) {
  RecordingCanvas canvas(width, height);
  DrawPane(canvas, formula, input);
  return canvas;
}

}  // namespace vorelin::testing
