#include "app/drawing_tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "chart/icons.h"
#include "chart/qt/qt_canvas.h"

namespace vorelin {
namespace {

constexpr int kSide = 24;
const QColor kInk(31, 78, 121);
const QColor kAccent(200, 120, 0);

void Levels(QPainter& p, std::initializer_list<int> rows) {
  for (int y : rows) p.drawLine(4, y, 20, y);
}

void Verticals(QPainter& p, std::initializer_list<int> columns) {
  for (int x : columns) p.drawLine(x, 4, x, 20);
}

// The chart's own marker bitmap, so the button shows what the figure will draw.
void Marker(QPainter& p, const char* name) {
  const QtCanvas like(1, 1, true);
  const std::unique_ptr<Canvas> icon = MakeIcon(like, name);
  if (const auto* picture = dynamic_cast<const QtCanvas*>(icon.get())) p.drawImage(4, 4, picture->Image());
}

void Sketch(QPainter& p, int tool) {
  QPen ink(kInk, 1.6);
  QPen dotted(kInk, 1.2, Qt::DotLine);
  p.setPen(ink);
  switch (tool) {
    case 0:
      p.setBrush(Qt::white);
      p.drawPolygon(QPolygonF({{7, 3}, {7, 19}, {11, 15}, {14, 21}, {16, 20}, {13, 14}, {18, 14}}));
      break;
    case 1:
      p.drawLine(5, 18, 19, 6);
      p.setBrush(kInk);
      p.drawEllipse(QPointF(5, 18), 1.8, 1.8);
      p.drawEllipse(QPointF(19, 6), 1.8, 1.8);
      break;
    case 2: p.drawLine(1, 21, 23, 3); break;
    case 3:
      p.drawLine(4, 19, 19, 5);
      p.drawLine(19, 5, 12, 7);
      p.drawLine(19, 5, 17, 12);
      break;
    case 4:
      p.setBrush(kInk);
      p.drawEllipse(QPointF(5, 18), 1.8, 1.8);
      p.drawLine(5, 18, 23, 2);
      break;
    case 5:
      p.drawLine(1, 15, 17, 1);
      p.drawLine(4, 20, 22, 4);
      p.setPen(dotted);
      p.drawLine(7, 23, 23, 9);
      break;
    case 6:
      p.drawLine(1, 14, 16, 1);
      p.drawLine(6, 22, 22, 8);
      break;
    case 7: p.drawArc(QRectF(3, 6, 18, 24), 0, 180 * 16); break;
    case 8:
      p.drawLine(3, 12, 21, 12);
      p.setPen(dotted);
      Levels(p, {5, 8, 16, 19});
      break;
    case 9:
      p.drawPolyline(QPolygonF({{3, 20}, {10, 8}, {14, 15}}));
      p.setPen(dotted);
      Levels(p, {4, 9});
      break;
    case 10:
      Levels(p, {4, 20});
      p.setPen(QPen(kAccent, 1.2, Qt::DotLine));
      Levels(p, {8, 11, 12, 14, 16});
      break;
    case 11:
      Levels(p, {4, 20});
      p.setPen(dotted);
      Levels(p, {8, 9, 12});
      break;
    case 12:
      Levels(p, {4, 20});
      p.setPen(dotted);
      Levels(p, {6, 8, 10, 12, 14, 16, 18});
      break;
    case 16: Verticals(p, {4, 9, 14, 19}); break;
    case 17: Verticals(p, {3, 5, 8, 12, 20}); break;
    case 18:
      Verticals(p, {3, 7, 15});
      p.setPen(dotted);
      Verticals(p, {19});
      break;
    case 19:
      p.drawLine(3, 20, 21, 3);
      p.setPen(dotted);
      p.drawLine(3, 20, 21, 9);
      p.drawLine(3, 20, 21, 15);
      break;
    case 20:
      p.drawLine(3, 3, 3, 21);
      p.drawLine(3, 21, 21, 21);
      p.drawLine(3, 21, 21, 3);
      p.setPen(dotted);
      p.drawLine(3, 21, 21, 12);
      p.drawLine(3, 21, 12, 3);
      break;
    case 21: p.drawRect(4, 6, 16, 12); break;
    case 22: Marker(p, "IC1"); break;
    case 23: Marker(p, "IC2"); break;
    case 24: {
      QFont font = p.font();
      font.setBold(true);
      font.setPixelSize(17);
      p.setFont(font);
      p.drawText(QRect(0, 0, kSide, kSide), Qt::AlignCenter, "A");
      break;
    }
    case 25:
      p.setPen(QPen(QColor(200, 40, 40), 2.2));
      p.drawLine(6, 6, 18, 18);
      p.drawLine(18, 6, 6, 18);
      break;
    case 26: {
      QPainterPath eye;
      eye.moveTo(2, 12);
      eye.quadTo(12, 2, 22, 12);
      eye.quadTo(12, 22, 2, 12);
      p.drawPath(eye);
      p.setBrush(kInk);
      p.drawEllipse(QPointF(12, 12), 3, 3);
      break;
    }
    default: break;
  }
}

}  // namespace

QIcon DrawingToolIcon(int tool) {
  QPixmap pixmap(kSide, kSide);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  Sketch(painter, tool);
  painter.end();
  return QIcon(pixmap);
}

}  // namespace vorelin
