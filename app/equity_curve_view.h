// The '资金曲线' page: the total assets at each closed position as a line over the equity
// rows' sequence numbers, painted directly so the app needs no chart module.
#pragma once

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>
#include <vector>

#include "practice/results.h"

namespace vorelin {

inline constexpr const char* kEquityTitle = "资金曲线";
inline constexpr const char* kNoEquityText = "暂无资金记录";

class EquityCurveView : public QWidget {
  Q_OBJECT

 public:
  explicit EquityCurveView(QWidget* parent = nullptr);

  // Replaces the line; the points are drawn in ascending SNo order whatever order they
  // come in.
  void SetPoints(std::vector<EquityPoint> points);
  const std::vector<EquityPoint>& Points() const { return points_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Frame;
  Frame Layout(const QFontMetrics& metrics, int top) const;
  void PaintAxes(QPainter& painter, const Frame& frame) const;
  void PaintLine(QPainter& painter, const Frame& frame) const;

  std::vector<EquityPoint> points_;
};

}  // namespace vorelin
