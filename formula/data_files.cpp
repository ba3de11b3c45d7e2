// Raw-data files and series exports: a little-endian codec whose reader checks every length
// against the bytes left, and the two text layouts built line by line in GBK.
#include "formula/data_files.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_set>
#include <vector>

#include "common/byte_order.h"
#include "common/format.h"
#include "common/text_encoding.h"
#include "common/text_file.h"

namespace vorelin {

namespace {

constexpr int kRawValueLimit = kRawSeriesLimit + 1;  // the most a raw series can hold
constexpr const char* kLineEnd = "\r\n";
constexpr const char* kNumberHeader = "序号";

// Reads from a byte range; every read fails instead of passing its end.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  size_t Left() const { return bytes_.size() - pos_; }

  bool ReadI32(int32_t& value) {
    if (Left() < 4) return false;
    value = static_cast<int32_t>(GetU32(bytes_.data() + pos_));
    pos_ += 4;
    return true;
  }

  bool ReadF64(double& value) {
    if (Left() < 8) return false;
    value = GetF64(bytes_.data() + pos_);
    pos_ += 8;
    return true;
  }

  bool GetBytes(size_t n, std::string_view& out) {
    if (Left() < n) return false;
    out = bytes_.substr(pos_, n);
    pos_ += n;
    return true;
  }

 private:
  std::string_view bytes_;
  size_t pos_ = 0;
};

struct LoadedSeries {
  std::string name;
  std::vector<double> values;
};

struct RawDataFile {
  std::string source;  // UTF-8
  std::vector<LoadedSeries> series;
  bool hasPreviousClose = false;
  double previousClose = kNoValue;
};

bool MagicMatches(std::string_view head) {
  if (head.size() != kRawDataMagic.size()) return false;
  return AsciiUpper(head) == kRawDataMagic;
}

// A value the interpreter can compute with: NaN and infinities become no value.
double Usable(double value) { return std::isfinite(value) ? value : kNoValue; }

bool ParseSeries(Reader& in, LoadedSeries& out) {
  int32_t nameLength = 0;
  std::string_view name;
  if (!in.ReadI32(nameLength) || nameLength <= 0 || nameLength > kRawNameLimit ||
      !in.GetBytes(static_cast<size_t>(nameLength), name)) {
    return false;
  }
  int32_t count = 0;
  if (!in.ReadI32(count) || count < 0 || count > kRawValueLimit ||
      in.Left() / 8 < static_cast<size_t>(count)) {
    return false;
  }
  out.name = AsciiLower(GbkToUtf8(name));
  // Bytes that are no GBK come back as replacement characters, longer once saved again.
  if (Utf8ToGbk(out.name).size() > static_cast<size_t>(kRawNameLimit)) return false;
  out.values.resize(static_cast<size_t>(count));
  for (double& value : out.values) {
    in.ReadF64(value);
    value = Usable(value);
  }
  return true;
}

bool ParseRawData(std::string_view bytes, RawDataFile& file) {
  Reader in(bytes);
  std::string_view magic;
  if (!in.GetBytes(kRawDataMagic.size(), magic) || !MagicMatches(magic)) return false;
  int32_t sourceLength = 0;
  std::string_view source;
  if (!in.ReadI32(sourceLength) || sourceLength < 0 ||
      !in.GetBytes(static_cast<size_t>(sourceLength), source)) {
    return false;
  }
  file.source = GbkToUtf8(source);
  int32_t seriesCount = 0;
  if (!in.ReadI32(seriesCount) || seriesCount < 0) return false;
  std::unordered_set<std::string> names;
  for (int32_t s = 0; s < seriesCount; ++s) {
    LoadedSeries series;
    if (!ParseSeries(in, series) || !names.insert(series.name).second) return false;
    file.series.push_back(std::move(series));
  }
  file.hasPreviousClose = in.ReadF64(file.previousClose);
  file.previousClose = Usable(file.previousClose);
  return true;
}

bool IsRawName(const TGS& gs, const std::string& name) {
  for (const Tbian* series : gs.RawSeries()) {
    if (series->name == name) return true;
  }
  return false;
}

void EnterSeries(TGS& gs, const LoadedSeries& series) {
  const int count = static_cast<int>(series.values.size());
  if (IsRawName(gs, series.name)) {
    // A pane that shares its parent's bars keeps them through ClearAll: entering the values
    // would append to them, so they are replaced instead.
    Tbian& target = gs.CreateResult(series.name, count);
    std::copy(series.values.begin(), series.values.end(), target.values.begin());
    return;
  }
  const int bulk = std::min(count, kRawSeriesLimit);
  gs.SetRawSeries(series.name, series.values.data(), bulk);
  // The one value a raw series holds beyond what can be entered at once.
  for (int i = bulk; i < count; ++i) gs.PushRawValue(series.name, series.values[i], true);
}

std::string Gbk(std::string_view utf8) { return Utf8ToGbk(utf8); }

// "序号" padded to six bytes as the GBK file counts them.
std::string NumberHeader(char separator) {
  return Format("%-6s", Gbk(kNumberHeader).c_str()) + separator;
}

double ValueAt(const Tbian& series, int i) { return i < series.count ? series.values[i] : kNoValue; }

bool IsTemporary(const Tbian& series) { return !series.name.empty() && series.name[0] == '@'; }

}  // namespace

std::string RawDataBytes(const TGS& gs) {
  std::string out(kRawDataMagic);
  std::string source;
  for (size_t k = 0; k < gs.SourceLines().size(); ++k) {
    if (k > 0) source += kLineEnd;
    source += gs.SourceLines()[k];
  }
  source = Gbk(source);
  PutU32(out, static_cast<uint32_t>(static_cast<int32_t>(source.size())));
  out += source;
  const std::vector<const Tbian*> raw = gs.RawSeries();
  PutU32(out, static_cast<uint32_t>(static_cast<int32_t>(raw.size())));
  for (const Tbian* series : raw) {
    const std::string name = Gbk(series->name);
    PutU32(out, static_cast<uint32_t>(static_cast<int32_t>(name.size())));
    out += name;
    PutU32(out, static_cast<uint32_t>(series->count));
    for (int i = 0; i < series->count; ++i) PutF64(out, series->values[i]);
  }
  PutF64(out, gs.PreviousClose());
  return out;
}

bool SaveRawData(const TGS& gs, const std::filesystem::path& path) {
  if (gs.RawSeries().empty()) return false;
  return WriteFileAtomically(path, RawDataBytes(gs));
}

bool LoadRawDataBytes(TGS& gs, std::string_view bytes) {
  RawDataFile file;
  if (!ParseRawData(bytes, file)) return false;
  gs.ClearAll();
  for (const LoadedSeries& series : file.series) EnterSeries(gs, series);
  if (file.hasPreviousClose) gs.SetPreviousClose(file.previousClose);
  gs.CompileText(file.source);
  return true;
}

bool LoadRawData(TGS& gs, const std::filesystem::path& path) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes)) return false;
  return LoadRawDataBytes(gs, bytes);
}

std::string CsvText(const TGS& gs, bool all) {
  const std::vector<const Tbian*> raw = gs.RawSeries();
  std::vector<const Tbian*> computed;
  for (const Tbian* series : gs.ComputedSeries()) {
    if (all || !IsTemporary(*series)) computed.push_back(series);
  }
  std::string out = NumberHeader(',');
  for (const Tbian* series : raw) out += Gbk(series->name) + ",";
  for (const Tbian* series : computed) out += Gbk(series->name) + ",";
  out += kLineEnd;
  const int n = gs.BarCount();
  for (int i = 0; i < n; ++i) {
    out += Format("%d,", i + 1);
    for (const Tbian* series : raw) {
      const double v = ValueAt(*series, i);
      out += v == kNoValue ? std::string(",") : Format("%.3f,", v);
    }
    for (const Tbian* series : computed) {
      const double v = ValueAt(*series, i);
      out += v == kNoValue ? std::string(20, ' ') + "," : Format("%20.3f,", v);
    }
    out += kLineEnd;
  }
  return out;
}

bool ExportCsv(const TGS& gs, const std::filesystem::path& path, bool all) {
  return WriteFileAtomically(path, CsvText(gs, all));
}

std::string TableText(const TGS& gs) {
  const std::vector<const Tbian*> raw = gs.RawSeries();
  const std::vector<const Tbian*> computed = gs.ComputedSeries();
  std::string out;
  for (const std::string& statement : gs.Program()) out += Gbk(statement) + kLineEnd;
  std::string header = NumberHeader('|');
  for (const Tbian* series : raw) header += Format("%20s|", Gbk(series->name).c_str());
  for (const Tbian* series : computed) header += Format("%20s|", Gbk(series->name).c_str());
  out += std::string(header.size(), '-') + kLineEnd;
  out += header + kLineEnd;
  const int n = gs.BarCount();
  for (int i = 0; i < n; ++i) {
    out += Format("%-6d|", i + 1);
    for (const Tbian* series : raw) out += Format("%20.6f|", ValueAt(*series, i));
    for (const Tbian* series : computed) {
      const double v = ValueAt(*series, i);
      out += v == kNoValue ? std::string(20, ' ') + "|" : Format("%20.6f|", v);
    }
    out += kLineEnd;
  }
  return out;
}

bool ExportTable(const TGS& gs, const std::filesystem::path& path) {
  return WriteFileAtomically(path, TableText(gs));
}

}  // namespace vorelin
