// What only a window can do for the chart control: show its picture, focus, pointer,
// clipboard. A widget implements it; tests record the calls.
#pragma once

#include "chart/canvas.h"

namespace vorelin {

enum class PointerShape { kDefault, kVerticalSplit, kHorizontalSplit };

class ChartHost {
 public:
  virtual ~ChartHost() = default;

  // The back buffer has just been composed (by RepaintChart).
  virtual void ShowBuffer(const Canvas& back_buffer) = 0;
  // The chart changed and wants one paint: the window schedules it and then calls
  // PaintIfDirty, so any number of changes within one event cost one paint.
  virtual void RequestRepaint() {}

  virtual bool HasFocus() const { return false; }
  virtual void SetPointer(PointerShape) {}
  // False when the picture could not be put on the clipboard.
  virtual bool PutOnClipboard(const RgbImage&) { return false; }
};

}  // namespace vorelin
