// Icons: six shapes (up arrow, down arrow, dot, flag, diamond, cross) in a cycle of colours,
// so IC1 is a red up arrow and IC2 a green down arrow, the two most used signals.
#include "chart/icons.h"

#include "common/numbers.h"

namespace vorelin {
namespace {

constexpr Colour kPalette[] = {0x0000FF, 0x00C000, 0x00FFFF, 0xFF00FF, 0xFFFF00, 0x0080FF, 0xFFFFFF};

void UpArrow(Canvas& c, Colour colour) {
  c.SetPen({colour, 1, PenStyle::kSolid});
  c.SetBrush({colour, false});
  c.Polygon({{8, 1}, {14, 8}, {10, 8}, {10, 15}, {6, 15}, {6, 8}, {2, 8}});
}

void DownArrow(Canvas& c, Colour colour) {
  c.SetPen({colour, 1, PenStyle::kSolid});
  c.SetBrush({colour, false});
  c.Polygon({{6, 1}, {10, 1}, {10, 8}, {14, 8}, {8, 15}, {2, 8}, {6, 8}});
}

void Dot(Canvas& c, Colour colour) {
  c.SetPen({0xFFFFFF, 1, PenStyle::kSolid});
  c.SetBrush({colour, false});
  c.Ellipse(3, 3, 14, 14);
}

void Flag(Canvas& c, Colour colour) {
  c.SetPen({0xC0C0C0, 1, PenStyle::kSolid});
  c.MoveTo(4, 1);
  c.LineTo(4, 16);
  c.SetPen({colour, 1, PenStyle::kSolid});
  c.SetBrush({colour, false});
  c.Polygon({{5, 1}, {14, 4}, {5, 8}});
}

void Diamond(Canvas& c, Colour colour) {
  c.SetPen({colour, 1, PenStyle::kSolid});
  c.SetBrush({colour, false});
  c.Polygon({{8, 1}, {14, 8}, {8, 15}, {2, 8}});
}

void Cross(Canvas& c, Colour colour) {
  c.SetPen({colour, 3, PenStyle::kSolid});
  c.MoveTo(3, 3);
  c.LineTo(13, 13);
  c.MoveTo(13, 3);
  c.LineTo(3, 13);
}

// Ex-rights: a yellow triangle with a red bar, pointing at the bar above it.
void ExRights(Canvas& c) {
  c.SetPen({0x00FFFF, 1, PenStyle::kSolid});
  c.SetBrush({0x00FFFF, false});
  c.Polygon({{8, 1}, {15, 14}, {1, 14}});
  c.FillRect(7, 5, 9, 12, 0x0000FF);
}

}  // namespace

std::unique_ptr<Canvas> MakeIcon(const Canvas& like, const std::string& name) {
  if (name.size() < 3 || name.compare(0, 2, "IC") != 0) return nullptr;
  const auto number = ParseInt(name.substr(2));
  if (!number) return nullptr;
  const int n = *number;
  if (n != 100 && (n < 1 || n > 41)) return nullptr;
  auto icon = like.CreateBitmap(kIconSize, kIconSize, true);
  if (n == 100) {
    ExRights(*icon);
    return icon;
  }
  const int shape = (n - 1) % 6;
  // Up arrows lead in red, down arrows in green: the pair keeps its meaning in every cycle.
  Colour colour = kPalette[((n - 1) / 6) % 7];
  if (shape == 0) colour = (n - 1) / 6 % 2 == 0 ? 0x0000FF : 0x0080FF;
  if (shape == 1) colour = (n - 1) / 6 % 2 == 0 ? 0x00C000 : 0x808000;
  switch (shape) {
    case 0: UpArrow(*icon, colour); break;
    case 1: DownArrow(*icon, colour); break;
    case 2: Dot(*icon, colour); break;
    case 3: Flag(*icon, colour); break;
    case 4: Diamond(*icon, colour); break;
    default: Cross(*icon, colour); break;
  }
  return icon;
}

}  // namespace vorelin
