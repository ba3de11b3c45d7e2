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
  // A second line over the same x values, named in a legend with the first; empty for none.
  void SetComparison(std::vector<EquityPoint> points, const QString& line_name,
                     const QString& comparison_name);
  const std::vector<EquityPoint>& Comparison() const { return comparison_; }
  void SetTitle(const QString& title, const QString& empty_text);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Frame;
  Frame Layout(const QFontMetrics& metrics, int top) const;
  void PaintAxes(QPainter& painter, const Frame& frame) const;
  void PaintLine(QPainter& painter, const Frame& frame) const;
  void PaintComparison(QPainter& painter, const Frame& frame) const;

  std::vector<EquityPoint> points_;
  std::vector<EquityPoint> comparison_;
  QString line_name_, comparison_name_;
  QString title_, empty_text_;
};

}  // namespace vorelin
