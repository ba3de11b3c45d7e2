// The chart's context menu: items, tags, shortcuts and check marks, and what each command
// does, with the files it names and the questions and messages it leaves to the host.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/chart/chart_test_support.h"
#include "tests/net/temp_folder.h"

namespace vorelin::testing {
namespace {

std::vector<std::string> Captions(const std::vector<ChartMenuItem>& items) {
  std::vector<std::string> captions;
  for (const ChartMenuItem& item : items) captions.push_back(item.caption);
  return captions;
}

std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class ChartMenuTest : public ChartTest {
 protected:
  // 550 × 418 without the board, 20 bars: panes 0, 1, 2 from y 0, 200, 300; MACD in pane 2.
  std::unique_ptr<TGP> MenuChart() {
    auto chart = MakeChart(550, 418);
    chart->SetShowBoard(false);
    Feed(*chart, 20, true);
    chart->PaintIfDirty();
    chart->ProgramFolder = folder.Path().string();
    chart->StkLabel = "600000";
    chart->StkName = "浦发银行";
    Formula(*chart, 2).SetShortName("MACD");
    return chart;
  }
  const ChartMenuItem& Top(TGP& chart, const std::string& caption) {
    const ChartMenu* menu = chart.OpenContextMenu();
    for (const ChartMenuItem& item : *menu) {
      if (item.caption == caption) return item;
    }
    ADD_FAILURE() << caption;
    return menu->front();
  }
  std::string InFolder(const std::string& name) const { return (folder.Path() / name).string(); }

  TempFolder folder;
};

TEST_F(ChartMenuTest, TopLevelItemsInOrderWithTheirTags) {
  auto chart = MenuChart();
  const ChartMenu& menu = *chart->OpenContextMenu();
  EXPECT_EQ(Captions(menu),
            (std::vector<std::string>{"指标用法注释", "调整指标参数", "修改指标公式", "恢复默认指标", "加载指标公式", "-",
                                      "保存原始数据", "加载原始数据", "保存指标数据", "保存EXCEL", "保存全部EXCEL", "-",
                                      "高清图像", "立体图", "保存指标图像", "保存整个图像", "保存到粘贴板", "-",
                                      "背景渐变", "前景色", "背景色", "取消背景", "-", "普通K线", "美国线", "-",
                                      "部分设置", "技术指标", "窗口个数", "删除窗口"}));
  for (size_t i = 0; i < menu.size(); ++i) EXPECT_EQ(menu[i].tag, static_cast<int>(i) + 1) << menu[i].caption;
  std::vector<std::string> checkable;
  for (const ChartMenuItem& item : menu) {
    if (item.checkable) checkable.push_back(item.caption);
  }
  EXPECT_EQ(checkable, (std::vector<std::string>{"高清图像", "立体图", "普通K线", "美国线"}));
}

TEST_F(ChartMenuTest, SubmenusWithTheirTagsAndShortcuts) {
  auto chart = MenuChart();
  const ChartMenuItem& gradients = Top(*chart, "背景渐变");
  EXPECT_EQ(Captions(gradients.items), (std::vector<std::string>{"取消渐变", "左到右", "右到左", "上到下", "下到上",
                                                                 "左上到右下", "左下到右上", "右上到左下", "右下到左上",
                                                                 "中间扩散"}));
  EXPECT_EQ(gradients.items.front().tag, 20480);
  EXPECT_EQ(gradients.items.back().tag, 20489);

  const ChartMenuItem& counts = Top(*chart, "窗口个数");
  ASSERT_EQ(counts.items.size(), 10u);
  EXPECT_EQ(counts.items[0].caption, "一个窗口");
  EXPECT_EQ(counts.items[0].tag, 6001);
  EXPECT_EQ(counts.items[0].shortcut, "Alt+1");
  EXPECT_EQ(counts.items[9].caption, "十个窗口");
  EXPECT_EQ(counts.items[9].tag, 6010);
  EXPECT_EQ(counts.items[9].shortcut, "Alt+0");

  const ChartMenuItem& indicators = Top(*chart, "技术指标");
  ASSERT_EQ(indicators.items.size(), 9u);  // the tab list from position 3
  EXPECT_EQ(indicators.items[0].caption, "MACD");
  EXPECT_EQ(indicators.items[0].tag, 8003);
  EXPECT_EQ(indicators.items[8].tag, 8011);

  EXPECT_EQ(Captions(Top(*chart, "部分设置").items),
            (std::vector<std::string>{"显示光标", "显示指标栏", "显示信息板", "切换分时图", "分时全高", "分时全宽",
                                      "显示上边", "显示下边", "显示右边", "显示左边"}));
}

TEST_F(ChartMenuTest, TheIndicatorSubmenuFollowsTheTabCategory) {
  auto chart = MenuChart();
  chart->MouseDown(kLeftButton, 70, 410);  // the category tab 高级
  EXPECT_EQ(Captions(Top(*chart, "技术指标").items), (std::vector<std::string>{"KDJ", "RSI"}));
}

TEST_F(ChartMenuTest, CheckMarksFollowThePaneUnderTheMouseWhenTheMenuOpens) {
  auto chart = MenuChart();
  EXPECT_FALSE(Top(*chart, "立体图").checked) << "no pane under the mouse yet: nothing marked";
  chart->HitTest(100, 350);  // pane 2
  EXPECT_TRUE(Top(*chart, "立体图").checked);
  EXPECT_TRUE(Top(*chart, "普通K线").checked);
  EXPECT_FALSE(Top(*chart, "美国线").checked);
  EXPECT_FALSE(Top(*chart, "高清图像").checked);

  chart->DoMenuCommand("高清图像");
  chart->DoMenuCommand("美国线");
  chart->SetShowBar3d(false);
  EXPECT_TRUE(chart->PaneFlagsOf(2).high_definition);
  EXPECT_FALSE(chart->PaneFlagsOf(1).high_definition);
  EXPECT_TRUE(Top(*chart, "高清图像").checked);
  EXPECT_FALSE(Top(*chart, "立体图").checked);
  EXPECT_TRUE(Top(*chart, "美国线").checked);
  EXPECT_FALSE(Top(*chart, "普通K线").checked);

  chart->HitTest(100, 250);  // pane 1: its own flag
  EXPECT_FALSE(Top(*chart, "高清图像").checked);
  chart->HitTest(520, 100);  // the price pane's right axis is no pane: the marks stay
  chart->SetShowBar3d(true);
  EXPECT_FALSE(Top(*chart, "立体图").checked);
}

TEST_F(ChartMenuTest, NoMenuWhenShowMenuIsOff) {
  auto chart = MenuChart();
  chart->SetShowMenu(false);
  EXPECT_EQ(chart->OpenContextMenu(), nullptr);
  chart->DoMenuCommand("立体图");  // a host's own menu still reaches the commands
  EXPECT_FALSE(chart->ShowBar3d());
}

TEST_F(ChartMenuTest, FormulaDialogsStayDisabledUntilTheHostSupportsThem) {
  auto chart = MenuChart();
  chart->HitTest(100, 350);
  for (const char* caption : {"指标用法注释", "调整指标参数", "修改指标公式"}) {
    SCOPED_TRACE(caption);
    EXPECT_FALSE(Top(*chart, caption).enabled);
    chart->DoMenuCommand(caption);
    EXPECT_EQ(host.dialog_pane, nullptr);
  }
  host.formula_dialogs = true;
  EXPECT_TRUE(Top(*chart, "修改指标公式").enabled);
  chart->DoMenuCommand("调整指标参数");
  EXPECT_EQ(host.calls.back(), "parameters");
  EXPECT_EQ(host.dialog_pane, &chart->Pane(2));
  EXPECT_TRUE(chart->NeedsRepaint());
  chart->DoMenuCommand("指标用法注释");  // the selected pane, not the one under the mouse
  EXPECT_EQ(host.calls.back(), "usage notes");
  EXPECT_EQ(host.dialog_pane, &chart->Pane(chart->SelectedPane()));
}

TEST_F(ChartMenuTest, CommandsAreFoundByTheirTrimmedCaption) {
  auto chart = MenuChart();
  chart->DoMenuCommand("  立体图 \t");
  EXPECT_FALSE(chart->ShowBar3d());
  chart->DoMenuCommand("立体");
  chart->DoMenuCommand("部分设置");  // a submenu does nothing
  EXPECT_FALSE(chart->ShowBar3d());
}

TEST_F(ChartMenuTest, SwitchesToggleTheirProperties) {
  struct Case {
    const char* caption;
    bool (TGP::*get)() const;
  };
  const Case kCases[] = {{"显示光标", &TGP::ShowCursor}, {"显示指标栏", &TGP::ShowTab}, {"显示信息板", &TGP::ShowBoard},
                         {"切换分时图", &TGP::ShowFs},   {"分时全高", &TGP::FsAll},    {"分时全宽", &TGP::FsFull},
                         {"显示上边", &TGP::ShowTop},    {"显示下边", &TGP::ShowBottom}, {"显示右边", &TGP::ShowRight},
                         {"显示左边", &TGP::ShowLeft},   {"立体图", &TGP::ShowBar3d}};
  auto chart = MenuChart();
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.caption);
    const bool before = ((*chart).*c.get)();
    chart->DoMenuCommand(c.caption);
    EXPECT_EQ(((*chart).*c.get)(), !before);
    chart->DoMenuCommand(c.caption);
    EXPECT_EQ(((*chart).*c.get)(), before);
  }
}

TEST_F(ChartMenuTest, BackgroundCommands) {
  auto chart = MenuChart();
  chart->DoMenuCommand("中间扩散");
  EXPECT_EQ(chart->FillStyle(), BackStyle::wCenter);
  chart->DoMenuCommand("左到右");
  EXPECT_EQ(chart->FillStyle(), BackStyle::wLeft);
  chart->DoMenuCommand("取消背景");
  EXPECT_EQ(chart->FillStyle(), BackStyle::wNone);

  chart->DoMenuCommand("前景色");  // cancelled
  EXPECT_EQ(chart->Color(), 0u);
  host.colour = 0x123456;
  chart->DoMenuCommand("前景色");
  EXPECT_EQ(chart->Color(), 0x123456u);
  chart->DoMenuCommand("背景色");
  EXPECT_EQ(chart->FillColor(), 0x123456u);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"colour from 0x000000", "colour from 0x000000",
                                                  "colour from 0xFF0000"}));
}

TEST_F(ChartMenuTest, KLineStyleItemsChangeThePricePaneOnly) {
  auto chart = MenuChart();
  chart->DoMenuCommand("美国线");
  EXPECT_EQ(chart->PaneFlagsOf(0).kstyle, TKStyple::ksAmericia);
  EXPECT_EQ(chart->PaneFlagsOf(1).kstyle, TKStyple::ksBar);
  chart->DoMenuCommand("普通K线");
  EXPECT_EQ(chart->PaneFlagsOf(0).kstyle, TKStyple::ksBar);
}

TEST_F(ChartMenuTest, PaneCountItemsAreIgnoredInTheTimeSharingView) {
  auto chart = MenuChart();
  chart->SetShowFs(true);
  chart->DoMenuCommand("五个窗口");
  EXPECT_EQ(chart->TechWindows(), 3);
  chart->SetShowFs(false);
  chart->DoMenuCommand("五个窗口");
  EXPECT_EQ(chart->TechWindows(), 5);
  chart->DoMenuCommand("十个窗口");
  EXPECT_EQ(chart->TechWindows(), 10);
}

TEST_F(ChartMenuTest, PaneCommandsNeedAPaneUnderTheMouse) {
  auto chart = MenuChart();
  chart->SelectPane(1);
  chart->DoMenuCommand("删除窗口");
  chart->DoMenuCommand("保存指标数据");
  chart->DoMenuCommand("DMA");
  EXPECT_EQ(chart->TechWindows(), 3);
  EXPECT_TRUE(host.calls.empty());
  EXPECT_EQ(Formula(*chart, 1).compiled_text, "TEXT OF vol");

  chart->HitTest(100, 350);
  chart->DoMenuCommand("DMA");  // loads into the pane under the mouse
  EXPECT_EQ(Formula(*chart, 2).compiled_text, "TEXT OF DMA");
  chart->DoMenuCommand("删除窗口");  // removes the selected pane
  EXPECT_EQ(chart->TechWindows(), 2);
  EXPECT_EQ(&chart->Pane(2), formulas[2 + 1]) << "pane 1's formula waits in slot 2";
}

TEST_F(ChartMenuTest, RestoreDefaultIndicatorByRegion) {
  struct Case {
    const char* name;
    bool time_sharing;
    int x, y;
    std::function<FakeFormula&(TGP&)> pane;
    const char* want;
  };
  const Case kCases[] = {
      {"price pane", false, 100, 100, [this](TGP& c) -> FakeFormula& { return Formula(c, 0); }, "TEXT OF MA"},
      {"pane 1", false, 100, 250, [this](TGP& c) -> FakeFormula& { return Formula(c, 1); }, "TEXT OF VOL"},
      {"pane 2 takes tab 3", false, 100, 350, [this](TGP& c) -> FakeFormula& { return Formula(c, 2); },
       "TEXT OF MACD"},
      {"time-sharing price", true, 100, 100,
       [](TGP& c) -> FakeFormula& { return static_cast<FakeFormula&>(c.FsPane(0)); }, "TEXT OF FS"},
      {"time-sharing volume", true, 100, 350,
       [](TGP& c) -> FakeFormula& { return static_cast<FakeFormula&>(c.FsPane(1)); }, "TEXT OF FSVOL"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    auto chart = MenuChart();
    chart->SetShowFs(c.time_sharing);
    chart->PaintIfDirty();
    chart->HitTest(c.x, c.y);
    c.pane(*chart).compiled_text = "mine";
    chart->DoMenuCommand("恢复默认指标");
    EXPECT_EQ(c.pane(*chart).compiled_text, c.want);
  }
}

TEST_F(ChartMenuTest, ExportsAreNamedByCodePeriodAndFormulaInTheProgramFolder) {
  struct Case {
    const char* caption;
    const char* file;
    const char* content;
  };
  const Case kCases[] = {{"保存指标数据", "600000_日线_MACD.txt", "table MACD"},
                         {"保存EXCEL", "600000_日线_MACD.csv", "csv MACD"},
                         {"保存全部EXCEL", "600000_日线_MACD.csv", "csv all MACD"}};
  auto chart = MenuChart();
  chart->HitTest(100, 350);
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.caption);
    host.calls.clear();
    host.answer = true;
    chart->DoMenuCommand(c.caption);
    EXPECT_EQ(ReadAll(folder.Path() / c.file), c.content);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"ask 提示|导出成功,是否打开此文件?", "open " + InFolder(c.file)}));
    host.calls.clear();
    host.answer = false;
    chart->DoMenuCommand(c.caption);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"ask 提示|导出成功,是否打开此文件?"}));
  }
}

TEST_F(ChartMenuTest, AFailedExportAsksNothing) {
  auto chart = MenuChart();
  chart->ProgramFolder = (folder.Path() / "no such folder").string();
  chart->HitTest(100, 350);
  chart->DoMenuCommand("保存指标数据");
  chart->DoMenuCommand("保存原始数据");
  EXPECT_TRUE(host.calls.empty());
}

TEST_F(ChartMenuTest, RawDataIsSavedAndLoadedThroughTheHitPane) {
  auto chart = MenuChart();
  chart->HitTest(100, 100);
  chart->DoMenuCommand("保存原始数据");
  const std::string saved = InFolder("600000_日线.bin");
  EXPECT_EQ(ReadAll(saved), "raw ");
  EXPECT_EQ(host.calls.back(), "message " + saved + " 保存完成!");

  chart->DoMenuCommand("加载原始数据");  // the dialog is cancelled
  EXPECT_EQ(host.calls.back(), "open file 加载原始数据|Data File (*.BIN)|bin|" + folder.Path().string());
  EXPECT_EQ(Formula(*chart, 0).compiled_text, "TEXT OF MA");

  const int runs = Formula(*chart, 1).runs;
  host.open_file = saved;
  chart->DoMenuCommand("加载原始数据");
  EXPECT_EQ(Formula(*chart, 0).compiled_text, "raw:" + saved);
  EXPECT_EQ(Formula(*chart, 1).runs, runs + 1) << "every shown pane is rerun";

  const std::string other = InFolder("other.bin");
  std::ofstream(other) << "not raw data";
  host.open_file = other;
  chart->DoMenuCommand("加载原始数据");
  EXPECT_EQ(host.calls.back(), "message 加载:" + other + " 失败!");
}

TEST_F(ChartMenuTest, LoadFormulaRunsTheChosenFileInTheHitPane) {
  auto chart = MenuChart();
  chart->HitTest(100, 250);
  host.open_file = InFolder("mine.wfc");
  chart->DoMenuCommand("加载指标公式");
  EXPECT_EQ(host.calls.back(), "open file 加载指标公式|WFC File (*.WFC)|wfc|" + folder.Path().string());
  EXPECT_EQ(Formula(*chart, 1).compiled_text, "file:" + host.open_file);
}

TEST_F(ChartMenuTest, ImagesAreNamedByStockNameAndCode) {
  auto chart = MenuChart();
  chart->HitTest(100, 250);
  chart->DoMenuCommand("保存指标图像");
  const std::string pane = InFolder("浦发银行_600000.BMP");
  EXPECT_TRUE(std::filesystem::is_regular_file(pane));
  EXPECT_EQ(host.calls.back(), "message 保存到:" + pane);
  chart->DoMenuCommand("保存整个图像");
  const std::string all = InFolder("浦发银行_600000_ALL.BMP");
  EXPECT_TRUE(std::filesystem::is_regular_file(all));
  EXPECT_EQ(host.calls.back(), "message 保存到:" + all);
  chart->DoMenuCommand("保存到粘贴板");
  EXPECT_EQ(host.calls.back(), "clipboard 550x418");
}

}  // namespace
}  // namespace vorelin::testing
