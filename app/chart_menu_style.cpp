#include "app/chart_menu_style.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

namespace vorelin {
namespace {

const QColor kHighlightFrame(0x31, 0x69, 0xC6);
const QColor kHighlightFill(0xC6, 0xD3, 0xEF);

void DrawTick(QPainter* painter, const QRect& box) {
  // Two strokes drawn three times, one pixel apart.
  painter->setPen(QPen(Qt::red, 1));
  const int x = box.left() + 3, y = box.top() + box.height() / 2 - 1;
  for (int i = 0; i < 3; ++i) {
    painter->drawLine(x, y + i, x + 3, y + 3 + i);
    painter->drawLine(x + 3, y + 3 + i, x + 9, y - 3 + i);
  }
}

}  // namespace

ChartMenuStyle::ChartMenuStyle() : QProxyStyle(QStyleFactory::create("Fusion")) {}

void ChartMenuStyle::drawControl(ControlElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
  const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
  if (element != CE_MenuItem || item == nullptr) {
    QProxyStyle::drawControl(element, option, painter, widget);
    return;
  }
  const QRect r = item->rect;
  const QColor face = item->palette.color(QPalette::Button);
  painter->save();
  painter->fillRect(r, Qt::white);
  painter->fillRect(QRect(r.left(), r.top(), kMenuStripWidth, r.height()), face);
  if (item->menuItemType == QStyleOptionMenuItem::Separator) {
    painter->setPen(face.darker(115));
    const int y = r.top() + r.height() / 2;
    painter->drawLine(r.left() + kMenuStripWidth, y, r.right(), y);
    painter->restore();
    return;
  }
  const bool enabled = item->state & State_Enabled;
  if ((item->state & State_Selected) && enabled) {
    painter->setPen(kHighlightFrame);
    painter->setBrush(kHighlightFill);
    painter->drawRect(r.adjusted(0, 0, -1, -1));
  }
  if (item->checked) {
    const QRect box(r.left() + 2, r.top() + (r.height() - 16) / 2, 16, 16);
    painter->setPen(Qt::white);
    painter->drawLine(box.topLeft(), box.topRight());
    painter->drawLine(box.topLeft(), box.bottomLeft());
    painter->setPen(face.darker(160));
    painter->drawLine(box.bottomLeft(), box.bottomRight());
    painter->drawLine(box.topRight(), box.bottomRight());
    DrawTick(painter, box);
  }
  QString caption = item->text;
  QString shortcut;
  if (const int tab = caption.indexOf('\t'); tab >= 0) {
    shortcut = caption.mid(tab + 1);
    caption = caption.left(tab);
  }
  painter->setPen(enabled ? Qt::black : Qt::gray);
  const QRect text(r.left() + kMenuStripWidth + 3, r.top(), r.width() - kMenuStripWidth - 3 - 11,
                   r.height());
  painter->drawText(text, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextShowMnemonic, caption);
  if (!shortcut.isEmpty()) painter->drawText(text, Qt::AlignVCenter | Qt::AlignRight, shortcut);
  if (item->menuItemType == QStyleOptionMenuItem::SubMenu) {
    QStyleOption arrow = *option;
    arrow.rect = QRect(r.right() - 12, r.top() + (r.height() - 8) / 2, 8, 8);
    QProxyStyle::drawPrimitive(PE_IndicatorArrowRight, &arrow, painter, widget);
  }
  painter->restore();
}

QSize ChartMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                       const QSize& size, const QWidget* widget) const {
  QSize s = QProxyStyle::sizeFromContents(type, option, size, widget);
  const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
  if (type == CT_MenuItem && item != nullptr &&
      item->menuItemType != QStyleOptionMenuItem::Separator) {
    s.setWidth(s.width() + kMenuStripWidth);
    s.setHeight(std::max(s.height(), 22));
  }
  return s;
}

}  // namespace vorelin
