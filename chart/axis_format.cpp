// Axis number formats and the fraction-marking number writer.
#include "chart/axis_format.h"

#include <cmath>

#include "common/format.h"
#include "common/numbers.h"

namespace vorelin {

AxisNumberFormat AxisFormat(int characters, double maximum) {
  const int length = static_cast<int>(Format("%.0f", maximum).size());
  if (length > 12) return {"%8.2f", 1};
  int divisor = 1;
  int width = characters;
  int decimals = 0;
  if (characters < length) divisor = TruncToInt(std::pow(10.0, length - characters));
  if (length < characters - 1) {
    width = length;
    decimals = characters - length;
  }
  if (decimals > 3) decimals = 3;
  return {Format("%%%d.%df", width, decimals), divisor};
}

std::string DivisorText(int divisor) {
  if (divisor > 9999) return Format("×%d万", divisor / 10000);
  return Format("×%d", divisor);
}

void WriteNumber(Canvas& canvas, int x, int y, const std::string& text) {
  const int start = x + canvas.TextExtent(".").width;
  const size_t dot = text.find('.');
  if (dot == std::string::npos) {
    canvas.TextOut(start, y, text);
    return;
  }
  const std::string whole = text.substr(0, dot + 1);
  canvas.TextOut(start, y, whole);
  const int fraction_x = start + canvas.TextExtent(whole).width;
  const Font saved = canvas.CurrentFont();
  Font smaller = saved;
  smaller.height = saved.height > 1 ? saved.height - 1 : 1;
  smaller.underline = true;
  canvas.SetFont(smaller);
  canvas.TextOut(fraction_x, y, text.substr(dot + 1));
  canvas.SetFont(saved);
}

}  // namespace vorelin
