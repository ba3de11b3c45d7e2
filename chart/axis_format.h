// Number formats of the value axes and the writer that sets off a number's fraction.
#pragma once

#include <string>

#include "chart/canvas.h"

namespace vorelin {

struct AxisNumberFormat {
  std::string format;  // printf format of one label, e.g. "%5.0f"
  int divisor = 1;     // labels show value ÷ divisor
};

// `characters` is how many characters fit the 50-pixel axis; `maximum` the scale maximum.
AxisNumberFormat AxisFormat(int characters, double maximum);

// Text of the divisor box: "×10", or "×10万" for divisors above 9999.
std::string DivisorText(int divisor);

// Writes `text` at (x + width of ".", y); the digits after a "." are underlined and one
// pixel smaller. The canvas font is restored afterwards.
void WriteNumber(Canvas& canvas, int x, int y, const std::string& text);

}  // namespace vorelin
