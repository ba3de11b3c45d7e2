// A small day file and a sequence of replay commands, saved rows and trades of any kind: the
// replay must never read outside the bars (AddressSanitizer watches) and must keep the cursor
// and current row inside the file.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/format.h"
#include "practice/replay_controller.h"

namespace {

using namespace vorelin;

class NullChart : public ChartPort {
 public:
  void ClearData() override {}
  void AppendBar(int, int, double, double, double, double, double, double) override {}
  void SetSeries(std::string_view, const std::vector<double>&, bool) override {}
  void BeginUpdate() override {}
  void EndUpdate() override {}
  void ResetPriceData() override {}
  void SetStkLabel(const std::string&) override {}
  void SetStkName(const std::string&) override {}
  void SetQuote(const TStockDirEntry&) override {}
  void SetShowBar3d(bool) override {}
  void SetShowFs(bool) override {}
  bool ShowFs() const override { return false; }
  void SetShowBoard(bool) override {}
  void SetWeek(std::string_view) override {}
  void SelectFigureSet(const std::string&) override {}
  void SetTradeMarks(const std::vector<SessionTrade>&) override {}
  void SetHideDates(bool) override {}
};

class NullMessages : public MessageSink {
 public:
  void Show(const std::string&) override {}
  bool Ask(const std::string&) override { return true; }
};

const char* const kPeriods[] = {"日线", "周线", "月线", "季度线", "年线"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static const std::filesystem::path root =
      std::filesystem::temp_directory_path() / ("vorelin_fuzz_replay_" + std::to_string(getpid()));
  std::filesystem::create_directories(root / "DayData");
  const int bars = data[0] % 40;
  {
    std::ofstream out(root / "DayData" / "600000.TXT", std::ios::binary | std::ios::trunc);
    for (int i = 0; i < bars; ++i)
      out << Format("%d,10,11,9,%d,100,10\r\n", 20240101 + i, 10 + i % 7);
  }
  NullChart chart;
  NullMessages messages;
  ReplayController replay(root, chart, messages);
  replay.SetRandomSeed(data[0]);
  replay.Boxes.Period = 1;
  replay.ApplyStockCode("600000");
  for (size_t i = 1; i + 1 < size; i += 2) {
    const int arg = static_cast<int8_t>(data[i + 1]);
    switch (data[i] % 12) {
      case 0: replay.OpenStock(); break;
      case 1: case 2: replay.NextClick(); break;
      case 3: replay.PreviousBar(); break;
      case 4: replay.PeriodCommand(kPeriods[static_cast<unsigned>(arg) % 5]); break;
      case 5: replay.Boxes.StartRow = std::to_string(arg); replay.StartRowEnter(); break;
      case 6: replay.SelectStartDate(std::to_string(20240101 + arg)); break;
      case 7: replay.LoadRandomWindow(); break;
      case 8: replay.Base().StartRow = arg * 3; replay.Base().SetCurrentRow(arg * 5); break;
      case 9: replay.QuantityBox = std::to_string(arg * 100); replay.BuyClick(); break;
      case 10: replay.SellClick(); break;
      case 11: replay.StartRowDoubleClick(); break;
    }
    const Tstock& base = replay.Base();
    if (base.Cursor < 0 || base.Cursor > base.BarCount + 1) std::abort();
  }
  return 0;
}
