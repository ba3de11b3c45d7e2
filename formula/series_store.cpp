// The interpreter's stores: raw bar series (shared with a parent), computed series, scratch
// series for formula references, named constants, and entering raw data.
#include <algorithm>

#include "common/format.h"
#include "formula/functions/library.h"
#include "formula/interpreter.h"

namespace vorelin {

TGS::TGS(TGS* parent)
    : parent_(parent),
      depth_(parent ? parent->depth_ + 1 : 0),
      raw_(parent ? parent->raw_ : &ownRaw_),
      journal_(parent ? parent->journal_ : &ownJournal_),
      originals_(parent ? parent->originals_ : &ownOriginals_) {
  if (parent != nullptr) {
    // A child may write the raw series it shares with its parent.
    parent->RunHeldRecursion();
    attached_ = parent->attached_;
    exRights_ = parent->exRights_;
    dataRoot_ = parent->dataRoot_;
  }
}

TGS::~TGS() = default;

int TGS::BarCount() const { return raw_->empty() ? 0 : raw_->front().count; }

Tbian* TGS::FindStored(std::string_view lowerName) {
  Tbian* found = raw_->Find(lowerName);
  if (found == nullptr) found = computed_.Find(lowerName);
  if (found == nullptr) found = originals_->Find(lowerName);
  RunHeldRecursionIfUses(found);
  return found;
}

void TGS::HoldOrRunRecursion(const Recursion& recursion, const Tbian& input,
                             const Tbian& output) {
  const bool stored = raw_->Find(input.name) == &input || computed_.Find(input.name) == &input;
  const bool holdable = statementIndex_ >= 0 && recursion.first <= 1 && stored &&
                        computed_.Find(output.name) == &output &&
                        recursion.x == input.data() && recursion.out == output.data();
  if (!holdable) {
    RunRecursion(recursion);
  } else if (held_) {
    RunRecursionPair(held_->recursion, recursion);
    held_.reset();
  } else {
    held_ = HeldRecursion{recursion, &input, &output};
  }
}

void TGS::RunHeldRecursion() {
  if (!held_) return;
  RunRecursion(held_->recursion);
  held_.reset();
}

Tbian& TGS::AddComputed(std::string_view lowerName, int count) {
  Tbian& series = computed_.Add(std::string(lowerName));
  series.count = count;
  series.values.assign(static_cast<size_t>(std::max(count, 0)), 0.0);
  return series;
}

namespace {

bool IsDrawnName(const std::string& lowerName) {
  return lowerName == "dopen" || lowerName == "dhigh" || lowerName == "dlow" ||
         lowerName == "dclose" || lowerName == "dvol";
}

}  // namespace

Tbian* TGS::FindSeries(std::string_view name) {
  std::string lower = AsciiLower(name);
  if (Tbian* stored = FindStored(lower)) {
    if (lower == "drawnull") {
      stored->count = BarCount();
      stored->values.assign(static_cast<size_t>(stored->count), kNoValue);
    } else if (stored->count != BarCount() && computed_.Find(lower) == stored) {
      // Made from the bars before the host appended one: the d-series' last turning points
      // have moved and the date parts lack the new bar, so remake them in place.
      if (Tbian* fresh = DrawnSeries(lower)) return fresh;
      if (Tbian* fresh = DerivedSeries(lower)) return fresh;
    }
    return stored;
  }
  if (lower == "drawnull") {
    Tbian& series = AddComputed(lower, BarCount());
    std::fill(series.values.begin(), series.values.end(), kNoValue);
    return &series;
  }
  return DrawnSeries(lower);
}

// "dopen", "dhigh", ...: the series through the zig-zag point finder with straight lines
// between its turning points, made (or remade in place) under the d-name.
Tbian* TGS::DrawnSeries(const std::string& lowerName) {
  if (!IsDrawnName(lowerName)) return nullptr;
  ZigZagPointFinder finder = StandardZigZagFinder();
  if (finder == nullptr) return nullptr;
  Tbian* price = ResolveSeries(lowerName.substr(1));
  if (price == nullptr) return nullptr;
  std::vector<double> points;
  if (!finder(*price, 0.001, points) || points.size() < static_cast<size_t>(price->count)) {
    return nullptr;
  }
  const int n = price->count;
  Tbian* existing = computed_.Find(lowerName);
  Tbian& out = existing != nullptr ? *existing : AddComputed(lowerName, n);
  out.count = n;
  out.values.resize(static_cast<size_t>(n));
  int previous = -1;
  for (int i = 0; i < n; ++i) {
    out.values[i] = points[i];
    if (points[i] == kNoValue) continue;
    if (previous >= 0 && i - previous > 1) {
      const double from = points[previous];
      const double step = (points[i] - from) / (i - previous);
      for (int j = previous + 1; j < i; ++j) out.values[j] = from + step * (j - previous);
    }
    previous = i;
  }
  return &out;
}

Tbian& TGS::CreateResult(std::string_view name, int count) {
  std::string lower = AsciiLower(name);
  count = std::clamp(count, 0, kSeriesCapacity);
  Tbian* series = raw_->Find(lower);
  if (series == nullptr) series = computed_.Find(lower);
  RunHeldRecursionIfUses(series);
  if (series == nullptr) return AddComputed(lower, count);
  if (series->values.size() < static_cast<size_t>(count)) {
    series->values.resize(static_cast<size_t>(count), 0.0);
  }
  series->count = count;
  return *series;
}

bool TGS::SetRawSeries(std::string_view name, const double* values, int n) {
  std::string lower = AsciiLower(name);
  Tbian* series = FindStored(lower);
  const int existing = series != nullptr ? series->count : 0;
  if (n < 0 || n > kRawSeriesLimit || existing + n > kRawSeriesLimit) {
    error_ = kOverflowMessage;
    return false;
  }
  journal_->Record(series != nullptr ? existing : 0);
  if (series == nullptr) series = &raw_->Add(lower);
  series->values.resize(static_cast<size_t>(existing));
  series->values.insert(series->values.end(), values, values + n);
  series->count = existing + n;
  return true;
}

bool TGS::PushRawValue(std::string_view name, double value, bool append) {
  std::string lower = AsciiLower(name);
  Tbian* series = FindStored(lower);
  if (series == nullptr) {
    journal_->Record(0);
    series = &raw_->Add(lower);
  }
  if (series->count >= kRawSeriesLimit + 1) {
    error_ = kOverflowMessage;
    return false;
  }
  journal_->Record(append || series->count == 0 ? series->count : series->count - 1);
  if (append || series->count == 0) {
    if (series->values.size() <= static_cast<size_t>(series->count)) {
      series->values.resize(static_cast<size_t>(series->count) + 1);
    }
    series->values[series->count] = value;
    ++series->count;
  } else {
    series->values[series->count - 1] = value;
  }
  return true;
}

void TGS::AddConstantText(std::string_view name, std::string valueText) {
  std::string lower = AsciiLower(name);
  if (const auto found = constantIndex_.find(lower); found != constantIndex_.end()) {
    constants_[found->second].second = std::move(valueText);
    return;
  }
  constantIndex_.emplace(lower, constants_.size());
  constants_.emplace_back(std::move(lower), std::move(valueText));
}

void TGS::AddConstant(std::string_view name, double value) {
  AddConstantText(name, Format("%.2f", value));
}

void TGS::ClearConstants() {
  constants_.clear();
  constantIndex_.clear();
}

Tbian& TGS::NextScratch() {
  if (scratchUsed_ == scratch_.size()) scratch_.push_back(std::make_unique<Tbian>());
  return *scratch_[scratchUsed_++];
}

void TGS::ClearCompiled() {
  incremental_.ProgramChanged();
  outputs_.clear();
  computed_.clear();
  scratch_.clear();
  scratchUsed_ = 0;
  ClearConstants();
  sourceLines_.clear();
  program_.clear();
  drawK_ = -1;
  shortName_.clear();
  title_.clear();
  stockName_.clear();
  stockCode_.clear();
  periodLabel_.clear();
}

void TGS::ClearAll() {
  ClearCompiled();
  if (parent_ == nullptr) {
    journal_->Record(0);
    ownRaw_.clear();
    ownOriginals_.clear();
  }
  attached_ = {};
}

std::vector<const Tbian*> TGS::AllSeries() const {
  std::vector<const Tbian*> all;
  for (const auto& series : *raw_) all.push_back(series.get());
  for (const auto& series : computed_) all.push_back(series.get());
  return all;
}

std::vector<const Tbian*> TGS::RawSeries() const {
  std::vector<const Tbian*> list;
  for (const auto& series : *raw_) list.push_back(series.get());
  return list;
}

std::vector<const Tbian*> TGS::ComputedSeries() const {
  std::vector<const Tbian*> list;
  for (const auto& series : computed_) list.push_back(series.get());
  return list;
}

bool ResolveOperand(TGS& gs, std::string_view text, Operand& out) {
  if (const Tbian* series = gs.ResolveSeries(text)) {
    out.series = series;
    return true;
  }
  double value = 0.0;
  if (!gs.ResolveConstant(text, value)) return false;
  out.series = nullptr;
  out.constant = value;
  return true;
}

}  // namespace vorelin
