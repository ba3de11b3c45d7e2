#include "app/parameter_dialog.h"

#include <QHBoxLayout>
#include <algorithm>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/dialog_buttons.h"

namespace vorelin {
namespace {

// Row r of the parameter table, in pixels.
constexpr int kRowPitch = 25;
constexpr int kCaptionLeft = 24, kCaptionTop = 23, kCaptionGap = 6;
constexpr int kBoxLeft = 56, kBoxTop = 20, kBoxWidth = 48, kArrowsWidth = 15, kBoxHeight = 21;
constexpr int kRangeLeft = 125;
constexpr int kTableWidth = 230;
constexpr int kVisibleRows = 12;

}  // namespace

TTTiao::TTTiao(TGS& pane, std::function<void()> redraw, QWidget* parent)
    : QDialog(parent), adjustment_(pane), redraw_(std::move(redraw)) {
  setObjectName("TTiao");
  setWindowTitle(QString::fromUtf8(kParameterDialogCaption));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  auto* table = new QWidget;
  table->setObjectName("pnlRows");
  const std::vector<ParameterRow>& rows = adjustment_.Rows();
  // The boxes keep their places unless a caption would run under them.
  int widest = 0;
  for (const ParameterRow& row : rows)
    widest = std::max(widest, table->fontMetrics().horizontalAdvance(QString::fromStdString(row.caption)));
  const int shift = std::max(0, kCaptionLeft + widest + kCaptionGap - kBoxLeft);
  for (size_t i = 0; i < rows.size(); ++i) {
    const ParameterRow& row = rows[i];
    const int r = static_cast<int>(i);
    auto* caption = new QLabel(QString::fromStdString(row.caption), table);
    caption->move(kCaptionLeft, kCaptionTop + kRowPitch * r - 3);
    caption->adjustSize();
    // The up-down control sits right of the box: one spin box spans both.
    auto* box = new QSpinBox(table);
    box->setObjectName(QString("spnParam%1").arg(r));
    box->setGeometry(kBoxLeft + shift, kBoxTop + kRowPitch * r, kBoxWidth + 1 + kArrowsWidth, kBoxHeight);
    box->setRange(row.minimum, row.maximum);
    box->setValue(row.position);
    box->setProperty("row", r);
    auto* range = new QLabel(QString::fromStdString(row.rangeText()), table);
    range->move(kRangeLeft + shift + 4, kCaptionTop + kRowPitch * r - 3);
    range->adjustSize();
    connect(box, &QSpinBox::valueChanged, this, [this, i](int value) {
      adjustment_.Change(i, value);
      redraw_();
    });
    rows_.push_back(box);
  }
  table->setFixedSize(kTableWidth + shift, kBoxTop + kRowPitch * static_cast<int>(rows.size()) + 6);

  auto* scroll = new QScrollArea;
  scroll->setWidget(table);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  const int shown = std::min<int>(static_cast<int>(rows.size()), kVisibleRows);
  scroll->setFixedSize(table->width() + 18, kBoxTop + kRowPitch * shown + 8);

  btnClose = NewDialogButton("btnClose", "关闭", this);
  btnDefault = NewDialogButton("btnDefault", "恢复缺省", this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnDefault);
  buttons->addWidget(btnClose);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QString::fromUtf8(kParameterDialogLabel)));
  layout->addWidget(scroll);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnDefault, &QPushButton::clicked, this, &TTTiao::RestoreDefaultsClick);
}

void TTTiao::RestoreDefaultsClick() {
  adjustment_.RestoreDefaults();
  for (size_t i = 0; i < rows_.size(); ++i) {
    const QSignalBlocker quiet(rows_[i]);
    rows_[i]->setValue(adjustment_.Rows()[i].position);
  }
  redraw_();
}

}  // namespace vorelin
