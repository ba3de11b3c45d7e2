// The chart drawn by the real interpreter on a QImage: pixels the drawing rules fix, chart
// images written and read back, and the trade screenshot.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "chart/image_files.h"
#include "chart/qt/qt_canvas.h"
#include "common/numbers.h"
#include "formula_chart/formula_chart.h"
#include "market/bar_series.h"

namespace vorelin {
namespace {

const std::filesystem::path kSampleDay =
    std::filesystem::path(__FILE__).parent_path() / "../../data/chart/600000.TXT";

class ChartImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("vorelin_chart_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(folder_);
    formula_chart_ = std::make_unique<FormulaChart>(1200, 800);
    chart_ = &formula_chart_->Chart();
    chart_->OnError = [this](const std::string& text) { errors_.push_back(text); };
    chart_->BeginUpdate();
    chart_->SetShowBoard(false);
    chart_->SetShowLeft(true);
    chart_->SetColor(0x201008);
    chart_->LoadIndicator(chart_->Pane(1), "VOL");
    chart_->LoadIndicator(chart_->Pane(2), "MACD");
    errors_.clear();  // without data every run fails; that is expected here
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  // The first `count` bars of the sample day file.
  void Feed(size_t count) {
    Tstock stock;
    stock.FileName = kSampleDay.string();
    ASSERT_TRUE(stock.LoadBars());
    const size_t n = std::min(count, stock.Bars.size());
    bars_.assign(stock.Bars.begin(), stock.Bars.begin() + static_cast<std::ptrdiff_t>(n));
    FeedBars(*chart_, ColumnsOf(bars_, 0, static_cast<int>(n) - 1));
  }
  const QtCanvas& Buffer() const { return dynamic_cast<const QtCanvas&>(*chart_->BackBuffer()); }
  // y of a value in pane `index`, from what the pane reported.
  int Y(int index, double v) const {
    const PaneReport& r = chart_->ReportOf(index);
    const int y0 = PaneTop(index);
    const int t = r.top - y0;
    const int bottom = r.bottom - 1 - y0;  // g - b
    const double m = (bottom - t) / (r.max - r.min);
    return y0 + bottom - static_cast<int>((v - r.min) * m);
  }
  int PaneTop(int index) const {
    int y0 = 0;
    for (int i = 0; i < index; ++i) y0 += chart_->PaneHeight(i);
    return y0;
  }
  int X(int index, int bar) const {
    const PaneReport& r = chart_->ReportOf(index);
    return static_cast<int>(r.bar_spacing * (bar - r.first_bar)) + r.left;
  }

  std::unique_ptr<FormulaChart> formula_chart_;
  TGP* chart_ = nullptr;
  std::vector<TBarRecord> bars_;
  std::vector<std::string> errors_;
  std::filesystem::path folder_;
};

TEST_F(ChartImageTest, PixelsTheRulesFix) {
  chart_->SetShowBar3d(false);
  Feed(100);  // 100 bars at Scale 5 fill 500 of the 1100 plot pixels
  chart_->EndUpdate();
  EXPECT_TRUE(errors_.empty()) << errors_.front();
  ASSERT_NE(chart_->BackBuffer(), nullptr);
  const QtCanvas& image = Buffer();
  ASSERT_TRUE(image.SavePng((folder_ / "chart.png").string()));

  // Background right of the newest bar in the volume pane.
  const PaneReport& vol = chart_->ReportOf(1);
  EXPECT_EQ(image.GetPixel(vol.left + 800, vol.top + 3), 0x201008u);

  // An up candle without 3-D is outlined in red: its left edge at mid-body.
  int up = -1;
  for (int i = 0; i < static_cast<int>(bars_.size()); ++i) {
    if (bars_[i].close - bars_[i].open > 0.15) up = i;
  }
  ASSERT_GE(up, 0);
  const int mid = (Y(0, bars_[up].open) + Y(0, bars_[up].close)) / 2;
  EXPECT_EQ(image.GetPixel(X(0, up), mid), 0x2C24DAu);

  // The MACD zero line: white on even columns of y(0).
  const int zero = Y(2, 0);
  const int even_x = chart_->ReportOf(2).left + 2;
  EXPECT_EQ(image.GetPixel(even_x, zero), 0xFFFFFFu);
}

TEST_F(ChartImageTest, BmpAndJpegAreWrittenAndReadBack) {
  Feed(300);
  chart_->EndUpdate();
  const std::string bmp = (folder_ / "chart.BMP").string();
  const std::string jpg = (folder_ / "shot.jpg").string();
  ASSERT_TRUE(chart_->SaveAllImage(bmp));
  ASSERT_TRUE(chart_->SaveAllImage(jpg));
  RgbImage from_bmp, from_jpg;
  ASSERT_TRUE(ReadBmpFile(bmp, &from_bmp));
  ASSERT_TRUE(ReadJpegFile(jpg, &from_jpg));
  EXPECT_EQ(from_bmp.width, 1200);
  EXPECT_EQ(from_bmp.height, 800);
  EXPECT_EQ(from_jpg.width, 1200);
  EXPECT_EQ(from_jpg.height, 800);
  EXPECT_EQ(std::filesystem::file_size(bmp), 54u + 1200u * 3u * 800u);
  // The JPEG is the same picture within compression noise: compare one flat corner.
  const size_t corner = (10 * 1200 + 1190) * 3;
  for (int c = 0; c < 3; ++c) {
    EXPECT_NEAR(from_jpg.bgr[corner + c], from_bmp.bgr[corner + c], 12);
  }
  RgbImage untouched{1, 1, {1, 2, 3}};
  EXPECT_FALSE(ReadJpegFile(bmp, &untouched));  // a BMP is no JPEG
  EXPECT_EQ(untouched.width, 1);
  EXPECT_FALSE(WriteBmpFile((folder_ / "no/such/dir/x.bmp").string(), from_bmp));

  const std::string pane = (folder_ / "pane.bmp").string();
  ASSERT_TRUE(chart_->SavePaneImage(pane));
  RgbImage from_pane;
  ASSERT_TRUE(ReadBmpFile(pane, &from_pane));
  EXPECT_EQ(from_pane.width, 1200);
  EXPECT_EQ(from_pane.height, chart_->PaneHeight(0));
}

TEST_F(ChartImageTest, TradeScreenshotHasNoTabStripAndNoCrosshair) {
  Feed(300);
  chart_->SetShowCursor(true);
  chart_->EndUpdate();
  const int cursor_x = 600;
  chart_->SetCursorPoint(cursor_x, 500);
  chart_->PaintIfDirty();
  const int probe_y = PaneTop(1) + chart_->PaneHeight(1) / 2 + 1;
  const Colour ink = InvertColour(0x201008);
  ASSERT_EQ(Buffer().GetPixel(cursor_x, probe_y), ink);  // the crosshair is on screen
  const Colour current_tab = 0x505050;
  ASSERT_EQ(Buffer().GetPixel(3, 800 - 2), current_tab);  // and so is the tab strip

  const std::string shot = (folder_ / "trade.jpg").string();
  ASSERT_TRUE(chart_->SaveAllImage(shot));
  RgbImage picture;
  ASSERT_TRUE(ReadJpegFile(shot, &picture));
  auto pixel = [&picture](int x, int y) {
    const size_t k = (static_cast<size_t>(y) * picture.width + x) * 3;
    return Rgb(picture.bgr[k + 2], picture.bgr[k + 1], picture.bgr[k]);
  };
  auto near = [](Colour a, Colour b) {
    return std::abs(RedOf(a) - RedOf(b)) < 40 && std::abs(GreenOf(a) - GreenOf(b)) < 40 &&
           std::abs(BlueOf(a) - BlueOf(b)) < 40;
  };
  int crosshair_rows = 0;
  for (int y = PaneTop(1) + 20; y < PaneTop(1) + chart_->PaneHeight(1) - 20; ++y) {
    if (near(pixel(cursor_x, y), ink) && !near(pixel(cursor_x - 3, y), ink)) ++crosshair_rows;
  }
  EXPECT_LT(crosshair_rows, 10);
  EXPECT_FALSE(near(pixel(3, 800 - 2), current_tab));
  EXPECT_EQ(chart_->CursorPoint().x, -1);
  EXPECT_TRUE(chart_->ShowTab());
  EXPECT_EQ(chart_->PaneHeight(0) + chart_->PaneHeight(1) + chart_->PaneHeight(2), 800 - 18);
}

TEST_F(ChartImageTest, TimeSharingPriceLine) {
  chart_->EndUpdate();
  const std::vector<double> closes = {10.0, 10.2, 10.1, 10.3, 10.25};
  chart_->SetPrevClose(10.0);
  for (size_t i = 0; i < closes.size(); ++i) {
    chart_->AddFsValue("time", true, false, 931 + static_cast<double>(i));
    chart_->AddFsValue("close", true, false, closes[i]);
    chart_->AddFsValue("amount", true, false, 1000);
    chart_->AddFsValue("vol", true, i + 1 == closes.size(), 100);
  }
  chart_->SetShowFs(true);
  chart_->SelectPane(0);
  ASSERT_TRUE(chart_->FsPane(0).CompileText("PRICE:CLOSE,COLORWHITE;"));
  chart_->RepaintChart();
  const PaneReport& r = chart_->FsReportOf(0);
  // Previous close in the middle of the full-height range.
  EXPECT_NEAR((r.max + r.min) / 2, 10.0, 1e-9);
  const double u = r.bar_spacing;
  const double p = u > 8 ? u - 2 : u > 2 ? u - 1 : u;
  const int c2 = static_cast<int>(u * 2) + r.left + static_cast<int>(p / 2);
  const int bottom = r.bottom - 1;
  const int y2 = bottom - static_cast<int>((10.1 - r.min) * ((bottom - r.top) / (r.max - r.min)));
  EXPECT_EQ(Buffer().GetPixel(c2, y2), 0xFFFFFFu);
}

}  // namespace
}  // namespace vorelin

namespace vorelin {
namespace {

// A header claiming a top-down picture of INT32_MIN rows must be refused, not negated.
TEST(BmpDecoding, RefusesHeightsWithoutAPositiveCounterpart) {
  std::vector<uint8_t> header(54, 0);
  header[0] = 'B';
  header[1] = 'M';
  header[10] = 54;
  header[18] = 1;                          // width 1
  header[22 + 3] = 0x80;                   // height INT32_MIN
  header[28] = 24;
  RgbImage image;
  std::string error;
  EXPECT_FALSE(DecodeBmp(header, &image, &error));
  EXPECT_EQ(error, "不支持的BMP格式");
}

}  // namespace
}  // namespace vorelin
