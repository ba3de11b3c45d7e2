// The look of the chart's context menu: a 20-pixel strip on the left in the button-face
// colour, a white text area, a framed highlight, a raised box with a red tick for checked
// items, separators from the strip on, and the shortcut right-aligned.
#pragma once

#include <QProxyStyle>

namespace vorelin {

class ChartMenuStyle final : public QProxyStyle {
 public:
  ChartMenuStyle();
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget = nullptr) const override;
  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                         const QWidget* widget) const override;
};

inline constexpr int kMenuStripWidth = 20;

}  // namespace vorelin
