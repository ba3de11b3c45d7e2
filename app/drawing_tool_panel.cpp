#include "app/drawing_tool_panel.h"

#include <QHBoxLayout>
#include <QToolBar>

#include "app/drawing_tool_icons.h"
#include "chart/gp.h"

namespace vorelin {
namespace {

struct ToolButton {
  int tool;
  const char* hint;
};

// Tools 13 to 15 draw no figure, so they get no button.
const ToolButton kFirstBar[] = {{0, "取消划线"}, {1, "线段"},     {2, "直线"},     {3, "箭头"},   {4, "射线"},
                                {5, "通道线"},   {6, "平行线"},   {7, "圆弧"},     {8, "百分比线"}, {9, "延伸线"},
                                {10, "黄金分割"}, {11, "百分比例"}, {12, "八等分线"}};
const ToolButton kSecondBar[] = {{16, "周期线"}, {17, "斐波那契线"}, {18, "时间周期表"}, {19, "速度线"},
                                 {20, "甘氏线"}, {21, "矩形"},       {22, "上涨标记"},   {23, "下跌标记"},
                                 {24, "文字"},   {25, "清除所有划线"}, {26, "隐藏划线"}};

constexpr const char* kToolProperty = "imageIndex";

}  // namespace

DrawingToolPanel::DrawingToolPanel(TGP& chart, QWidget* parent) : QWidget(parent), chart_(chart) {
  setObjectName("pnltool");
  line_tb_ = new QWidget(this);
  line_tb_->setObjectName("LineTB");
  auto* bars = new QHBoxLayout(line_tb_);
  bars->setContentsMargins(1, 2, 1, 2);
  bars->setSpacing(0);
  auto add_bar = [&](const char* name, const auto& buttons) {
    auto* bar = new QToolBar(line_tb_);
    bar->setObjectName(name);
    bar->setOrientation(Qt::Vertical);
    bar->setIconSize(QSize(24, 24));
    bar->setMovable(false);
    for (const ToolButton& entry : buttons) {
      auto* button = new QToolButton(bar);
      button->setObjectName(QString("btnTool%1").arg(entry.tool));
      button->setProperty(kToolProperty, entry.tool);
      button->setIcon(DrawingToolIcon(entry.tool));
      button->setToolTip(QString::fromUtf8(entry.hint));
      button->setAutoRaise(true);
      button->setCheckable(entry.tool == kToolShowFigures);
      connect(button, &QToolButton::clicked, this, [this, button] { ToolClicked(button); });
      bar->addWidget(button);
    }
    bars->addWidget(bar, 0, Qt::AlignTop);
  };
  add_bar("tlbLine1", kFirstBar);
  add_bar("tlbLine2", kSecondBar);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(line_tb_);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

QToolButton* DrawingToolPanel::Button(int tool) const {
  return findChild<QToolButton*>(QString("btnTool%1").arg(tool));
}

void DrawingToolPanel::ToolClicked(QToolButton* button) {
  const int tool = button->property(kToolProperty).toInt();
  chart_.StartDrawingTool(tool, button->toolTip().toStdString(), button->isChecked());
}

}  // namespace vorelin
