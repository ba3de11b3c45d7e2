// The scripted pane formula.
#include "tests/chart/fake_formula.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "common/numbers.h"

namespace vorelin::testing {

namespace {
std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}
}  // namespace

FakeFormula::FakeFormula(FakeFormula* parent) : parent_(parent) {}

SeriesView FakeFormula::FindSeries(const std::string& name) {
  const std::string key = Lower(name);
  const auto& raw = Raw();
  if (auto it = raw.find(key); it != raw.end()) return {it->second.data(), static_cast<int>(it->second.size())};
  if (auto it = computed_.find(key); it != computed_.end()) {
    return {it->second.data(), static_cast<int>(it->second.size())};
  }
  return {};
}

SeriesView FakeFormula::ResolveSeries(const std::string& name) {
  if (SeriesView s = FindSeries(name)) return s;
  const std::string key = Lower(name);
  if (key == "h") return FindSeries("high");
  if (key == "l") return FindSeries("low");
  if (key == "o") return FindSeries("open");
  if (key == "c") return FindSeries("close");
  if (key == "v") return FindSeries("vol");
  if (key == "open" || key == "high" || key == "low") return FindSeries("close");
  return {};
}

bool FakeFormula::ResolveConstant(const std::string& name, double* value) {
  if (name.empty()) return false;
  if (auto it = constants_.find(Lower(name)); it != constants_.end()) {
    *value = it->second;
    return true;
  }
  if (auto number = ParseDecimal(name)) {
    *value = *number;
    return true;
  }
  return false;
}

uint32_t FakeFormula::ColourOf(const std::string& word) const {
  static const std::map<std::string, uint32_t> kNames = {
      {"COLORBLACK", 0x000000}, {"COLORBLUE", 0xFF0000},   {"COLORGREEN", 0x00FF00},
      {"COLORCYAN", 0xFFFF00},  {"COLORRED", 0x0000FF},    {"COLORMAGENTA", 0xFF00FF},
      {"COLORBROWN", 0x008080}, {"COLORLIGRAY", 0xC0C0C0}, {"COLORGRAY", 0x808080},
      {"COLORLIBLUE", 0xC0C000}, {"COLORLIGREEN", 0x40C040}, {"COLORLICYAN", 0x808000},
      {"COLORLIRED", 0x8080FF}, {"COLORLIMAGENTA", 0xFF00FF}, {"COLORYELLOW", 0x00FFFF},
      {"COLORWHITE", 0xFFFFFF}};
  std::string upper = word;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (auto it = kNames.find(upper); it != kNames.end()) return it->second;
  if (upper.size() == 11 && upper.rfind("COLOR", 0) == 0) {
    try {
      size_t used = 0;
      const unsigned long value = std::stoul(upper.substr(5), &used, 16);
      if (used == 6) return static_cast<uint32_t>(value);
    } catch (...) {
    }
  }
  return 0xFFFFFF;
}

int FakeFormula::BarCount() const {
  const auto& raw = Raw();
  const std::vector<std::string>& order = parent_ ? parent_->raw_order_ : raw_order_;
  if (!order.empty()) {
    auto it = raw.find(order.front());
    if (it != raw.end()) return static_cast<int>(it->second.size());
  }
  if (raw.empty()) return 0;
  if (auto it = raw.find("close"); it != raw.end()) return static_cast<int>(it->second.size());
  return static_cast<int>(raw.begin()->second.size());
}

bool FakeFormula::CompileText(const std::string& text) {
  if (text.empty()) {
    error_ = "程序长度不能为空!";
    return false;
  }
  compiled_text = text;
  file_name_.clear();
  return Run();
}

bool FakeFormula::CompileFile(const std::string& path) {
  compiled_text = "file:" + path;
  file_name_ = path;
  return Run();
}

bool FakeFormula::Run() {
  ++runs;
  if (compiled_text.empty() || BarCount() == 0) {
    error_ = "公式长度为零或原始数据为零!";
    return false;
  }
  error_.clear();
  if (program) program(*this);
  return true;
}

bool FakeFormula::PushRawValue(const std::string& name, double value, bool append) {
  const std::string key = Lower(name);
  auto& raw = Own();
  std::vector<std::string>& order = parent_ ? parent_->raw_order_ : raw_order_;
  if (raw.find(key) == raw.end()) order.push_back(key);
  std::vector<double>& series = raw[key];
  if (series.size() >= 99999) {
    error_ = "数据长度大于100000溢出!";
    return false;
  }
  if (append || series.empty()) {
    series.push_back(value);
  } else {
    series.back() = value;
  }
  return true;
}

bool FakeFormula::SetRawSeries(const std::string& name, const std::vector<double>& values) {
  const std::string key = Lower(name);
  auto& raw = Own();
  std::vector<std::string>& order = parent_ ? parent_->raw_order_ : raw_order_;
  if (raw.find(key) == raw.end()) order.push_back(key);
  std::vector<double>& series = raw[key];
  series.insert(series.end(), values.begin(), values.end());
  return true;
}

void FakeFormula::ClearData() {
  if (!parent_) {
    raw_.clear();
    raw_order_.clear();
  }
  computed_.clear();
  outputs_.clear();
  blocks = nullptr;
}

bool FakeFormula::WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out);
}

bool FakeFormula::LoadRawData(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  if (!in || text.str().rfind("raw", 0) != 0) return false;
  compiled_text = "raw:" + path;
  Run();  // like the interpreter's loader: a failed run still counts as loaded
  return true;
}

}  // namespace vorelin::testing
