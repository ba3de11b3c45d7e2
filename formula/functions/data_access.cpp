// Functions that reach beyond a formula's own series: bar position, date filter and lookup,
// the market index series, the host's quote and finance arrays, the market code and texts.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <span>
#include <string_view>

#include "common/format.h"
#include "common/numbers.h"
#include "common/text_file.h"
#include "formula/functions/families.h"
#include "formula/index_file.h"
#include "formula/interpreter.h"

namespace vorelin {

namespace {

constexpr double M = kNoValue;
constexpr int kArrayFirst = 1;
constexpr int kArrayLast = 64;
constexpr size_t kCirculatingCapital = 7;
// A precision beyond what a double carries only pads zeros; it also bounds the text.
constexpr int kMaxDecimals = 20;

std::string Undefined(std::string_view head, std::string_view arg) {
  return std::string(head) + std::string(arg) + "未定义!";
}

std::string TfiltUndefined(std::string_view which, std::string_view arg) {
  return Undefined("TFILT(X,day1,time1,day2,time2)参数" + std::string(which) + ":", arg);
}

std::string Con2StrUndefined(std::string_view which, std::string_view arg) {
  return "CON2STR(X,N)参数" + std::string(which) + ":[" + std::string(arg) + "]未定义!";
}

// A constant argument: a name that is a series never counts as one.
bool ConstantArgument(TGS& gs, const std::string& text, double& value) {
  if (gs.ResolveSeries(text) != nullptr) return false;
  return gs.ResolveConstant(text, value);
}

double Finite(double value) { return std::isfinite(value) ? value : M; }

// --- bar position --------------------------------------------------------------------------

enum class Position { kStatus, kCurrentCount, kTotalCount, kIsLast };

template <Position kWhich>
bool BarPosition(TGS& gs, const std::string& result, const std::string&,
                 const std::vector<std::string>&) {
  const int n = gs.BarCount();
  Tbian& out = gs.CreateResult(result, n);
  const int last = n - 1;
  for (int i = 0; i < n; ++i) {
    double v = 0;
    switch (kWhich) {
      case Position::kStatus: v = i == last ? 2 : (i == 0 ? 1 : 0); break;
      case Position::kCurrentCount: v = n - i; break;
      case Position::kTotalCount: v = n; break;
      case Position::kIsLast: v = i == last ? 1 : 0; break;
    }
    out.values[i] = v;
  }
  return true;
}

// --- dates ---------------------------------------------------------------------------------

bool Tfilt(TGS& gs, const std::string& result, const std::string&,
           const std::vector<std::string>& args) {
  const Tbian* x = gs.ResolveSeries(Arg(args, 0));
  if (x == nullptr) {
    gs.SetError(TfiltUndefined("X", Arg(args, 0)));
    return false;
  }
  double day1 = 0;
  double day2 = 0;
  if (!ConstantArgument(gs, Arg(args, 1), day1)) {
    gs.SetError(TfiltUndefined("day1", Arg(args, 1)));
    return false;
  }
  if (!ConstantArgument(gs, Arg(args, 3), day2)) {
    gs.SetError(TfiltUndefined("day2", Arg(args, 3)));
    return false;
  }
  const Tbian* date = gs.FindSeries("date");
  if (date == nullptr) {
    gs.SetError("没有为TFLIT提供日期原始数据!");
    return false;
  }
  const int first = TruncToInt(day1);
  const int last = TruncToInt(day2);
  const int n = gs.BarCount();
  const int xCount = x->count;
  const int dateCount = date->count;
  // X may be the result itself; each bar reads only its own slot, so in place is safe.
  Tbian& out = gs.CreateResult(result, n);
  for (int i = 0; i < n; ++i) {
    const double xi = i < xCount ? x->values[i] : M;
    bool inside = false;
    if (i < dateCount) {
      const int d = TruncToInt(date->values[i]);
      inside = first <= d && d <= last;
    }
    out.values[i] = inside ? xi : M;
  }
  return true;
}

bool RefDate(TGS& gs, const std::string& result, const std::string&,
             const std::vector<std::string>& args) {
  const Tbian* date = gs.FindSeries("date");
  if (date == nullptr) {
    gs.SetError("没有Date原始数据,不能使用:REFDATE!");
    return false;
  }
  Operand x;
  Operand a;
  if (!ResolveOperand(gs, Arg(args, 0), x)) {
    gs.SetError(Undefined("REFDATE(X,A)参数X:", Arg(args, 0)));
    return false;
  }
  if (!ResolveOperand(gs, Arg(args, 1), a)) {
    gs.SetError(Undefined("REFDATE(X,A)参数A:", Arg(args, 1)));
    return false;
  }
  if (!x.IsSeries()) {
    gs.AddConstantText(result, Format("%.3f", x.constant));
    return true;
  }
  const double wanted = a.IsSeries() ? a.series->Last() : TruncToInt(a.constant);
  const int bars = std::min(date->count, x.series->count);
  for (int i = 0; i < bars; ++i) {
    if (date->values[i] == wanted) {
      gs.AddConstantText(result, Format("%.3f", x.series->values[i]));
      return true;
    }
  }
  return false;
}

// --- host arrays ---------------------------------------------------------------------------

// Element Trunc(value) of `array` when it lies in 1 .. 64 and the host supplied it.
bool ArrayElement(std::span<const float> array, double index, double& value) {
  const int k = TruncToInt(index);
  if (k < kArrayFirst || k > kArrayLast || static_cast<size_t>(k) >= array.size()) return false;
  value = Finite(array[static_cast<size_t>(k)]);
  return true;
}

bool DynaInfo(TGS& gs, const std::string& result, const std::string&,
              const std::vector<std::string>& args) {
  double index = 0;
  if (!ConstantArgument(gs, Arg(args, 0), index)) {
    gs.SetError(Undefined("DYNAINFO(N)参数N:", Arg(args, 0)));
    return false;
  }
  if (gs.Attached().quote.empty()) {
    gs.SetError("没有设置DYNAINFO原始数据!");
    return false;
  }
  double value = 0;
  if (!ArrayElement(gs.Attached().quote, index, value)) return false;
  gs.AddConstantText(result, Format("%7.3f", value));
  return true;
}

bool Finance(TGS& gs, const std::string& result, const std::string&,
             const std::vector<std::string>& args) {
  double index = 0;
  if (!ConstantArgument(gs, Arg(args, 0), index)) return false;
  double value = 0;
  if (!ArrayElement(gs.Attached().finance, index, value)) return false;
  gs.AddConstantText(result, Format("%7.3f", value));
  return true;
}

bool Lfs(TGS& gs, const std::string& result, const std::string&,
         const std::vector<std::string>&) {
  const std::span<const float> finance = gs.Attached().finance;
  if (finance.size() <= kCirculatingCapital) {
    gs.SetError("LFS需要提供FINANCE原始数据!");
    return false;
  }
  const Tbian* vol = gs.FindSeries("vol");
  if (vol == nullptr) {
    gs.SetError("LFS需要提供成交量VOL的原始数据!");
    return false;
  }
  const double perCent = static_cast<double>(finance[kCirculatingCapital]) / 100.0;
  const int n = gs.BarCount();
  const int volCount = vol->count;
  std::vector<double> turnover(static_cast<size_t>(std::min(n, volCount)));
  for (size_t i = 0; i < turnover.size(); ++i) turnover[i] = vol->values[i] / perCent;
  Tbian& out = gs.CreateResult(result, n);
  double fast = 0;
  double slow = 0;
  for (int i = 0; i < n; ++i) {
    if (static_cast<size_t>(i) >= turnover.size()) {
      out.values[i] = M;
      continue;
    }
    const double b = turnover[i];
    fast = b + (1 - b) * 0.8 * fast;
    slow = b + (1 - b) * (12.0 / 13.0) * slow;
    // No capital, or a turnover that makes the recursions overflow, leaves no usable ratio.
    out.values[i] = slow != 0 ? Finite((1 - fast / slow) * 100) : M;
  }
  return true;
}

bool SetCode(TGS& gs, const std::string& result, const std::string&,
             const std::vector<std::string>&) {
  const TStockDirEntry* stock = gs.Attached().stock;
  if (stock == nullptr) {
    gs.SetError("SETCODE 需要提供STOCKINFO数据!");
    return false;
  }
  gs.AddConstantText(result, Format("%d", static_cast<int>(stock->Market())));
  return true;
}

// --- texts ---------------------------------------------------------------------------------

bool StrCat(TGS& gs, const std::string& result, const std::string&,
            const std::vector<std::string>& args) {
  gs.AddConstantText(result, Arg(args, 0) + Arg(args, 1));
  return true;
}

bool StrCmp(TGS& gs, const std::string& result, const std::string&,
            const std::vector<std::string>& args) {
  gs.AddConstant(result, Arg(args, 0) == Arg(args, 1) ? 1 : 0);
  return true;
}

bool FindStr(TGS& gs, const std::string& result, const std::string&,
             const std::vector<std::string>& args) {
  gs.AddConstant(result, Arg(args, 0).find(Arg(args, 1)) != std::string::npos ? 1 : 0);
  return true;
}

// The last value of a series, or the constant.
bool LastOrConstant(TGS& gs, const std::string& text, double& value) {
  Operand operand;
  if (!ResolveOperand(gs, text, operand)) return false;
  value = operand.IsSeries() ? operand.series->Last() : operand.constant;
  return true;
}

bool Con2Str(TGS& gs, const std::string& result, const std::string&,
             const std::vector<std::string>& args) {
  double x = 0;
  double n = 0;
  if (!LastOrConstant(gs, Arg(args, 0), x)) {
    gs.SetError(Con2StrUndefined("X", Arg(args, 0)));
    return false;
  }
  if (!LastOrConstant(gs, Arg(args, 1), n)) {
    gs.SetError(Con2StrUndefined("N", Arg(args, 1)));
    return false;
  }
  const int decimals = std::clamp(TruncToInt(n), 0, kMaxDecimals);
  gs.AddConstantText(result, Format("%.*f", decimals, x));
  return true;
}

// --- index series --------------------------------------------------------------------------

constexpr int kIndexSeriesCount = 8;
constexpr const char* kIndexNames[kIndexSeriesCount] = {"indexo", "indexc", "indexh",   "indexl",
                                       "indexa", "indexv", "indexadv", "indexdec"};

// The values each index series takes from a record, in the order of kIndexNames.
void RecordValues(const IndexRecord& r, double (&values)[kIndexSeriesCount]) {
  values[0] = r.open / 100.0;
  values[1] = r.close / 100.0;
  values[2] = r.high / 100.0;
  values[3] = r.low / 100.0;
  values[4] = Finite(r.amount);
  values[5] = r.volume / 100.0;
  values[6] = r.advancing;
  values[7] = r.declining;
}

// The last BarCount records of the stock's market index file, aligned to the bars from the
// end. A missing or short file loads nothing; index series of an earlier load are then
// blanked so that they never stand beside bars they do not belong to.
bool LoadIndexSeries(TGS& gs) {
  const int n = gs.BarCount();
  const std::filesystem::path name = IndexFileNameFor(gs.StockCode());
  const std::filesystem::path path = gs.DataRoot().empty() ? name : gs.DataRoot() / name;
  std::string file;
  const size_t records = ReadFileBytes(path, file) ? file.size() / kIndexRecordSize : 0;
  if (records == 0 || records < static_cast<size_t>(n)) {
    for (const char* series : kIndexNames) {
      if (gs.FindSeries(series) == nullptr) continue;
      Tbian& stale = gs.CreateResult(series, n);
      std::fill(stale.values.begin(), stale.values.begin() + n, M);
    }
    return false;
  }
  const char* first = file.data() + (records - n) * kIndexRecordSize;
  Tbian* series[kIndexSeriesCount];
  for (int s = 0; s < kIndexSeriesCount; ++s) series[s] = &gs.CreateResult(kIndexNames[s], n);
  for (int k = 0; k < n; ++k) {
    double values[kIndexSeriesCount] = {};
    RecordValues(GetIndexRecord(first + k * kIndexRecordSize), values);
    for (int s = 0; s < kIndexSeriesCount; ++s) series[s]->values[k] = values[s];
  }
  return true;
}

constexpr LibraryEntry kEntries[] = {
    {"barstatus", BarPosition<Position::kStatus>},
    {"currbarscount", BarPosition<Position::kCurrentCount>},
    {"totalbarscount", BarPosition<Position::kTotalCount>},
    {"islastbar", BarPosition<Position::kIsLast>},
    {"tfilt", Tfilt},
    {"refdate", RefDate},
    {"dynainfo", DynaInfo},
    {"finance", Finance},
    {"lfs", Lfs},
    {"setcode", SetCode},
    {"strcat", StrCat},
    {"strcmp", StrCmp},
    {"findstr", FindStr},
    {"con2str", Con2Str},
};

}  // namespace

LibraryFamily DataAccessFamily() {
  LibraryFamily family;
  family.entries = kEntries;
  family.loadIndex = LoadIndexSeries;
  return family;
}

}  // namespace vorelin
