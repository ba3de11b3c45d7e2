// The incremental run's bookkeeping, and how the interpreter finds the first changed bar of
// a statement's arguments.
#include "formula/incremental_run.h"

#include <algorithm>
#include <atomic>

#include "common/format.h"
#include "common/numbers.h"
#include "formula/interpreter.h"

namespace vorelin {

namespace {
std::atomic<bool> incrementalRuns{true};
}  // namespace

void SetIncrementalRuns(bool enabled) { incrementalRuns = enabled; }
bool IncrementalRunsEnabled() { return incrementalRuns; }

void IncrementalRun::ProgramChanged() {
  lastOk_ = false;
  writesRaw_ = false;
  active_ = false;
  states_.clear();
  own_.clear();
  keptValues_ = 0;
  owner_.clear();
  seriesFrom_.clear();
}

bool IncrementalRun::Begin(std::string settings, const RawJournal& journal, int bars,
                           size_t statements, bool allowed) {
  const int firstChanged = journal.FirstChangedSince(lastSerial_);
  active_ = allowed && IncrementalRunsEnabled() && lastOk_ && !writesRaw_ &&
            settings == settings_ && bars >= lastBars_ && states_.size() == statements;
  rawFrom_ = active_ ? std::min(firstChanged, lastBars_) : 0;
  // Data changed from the first bar on: nothing to resume from.
  if (rawFrom_ == 0) active_ = false;
  settings_ = std::move(settings);
  if (states_.size() != statements) states_.assign(statements, ResumeState{});
  if (own_.size() != statements) {
    own_.assign(statements, OwnValues{});
    keptValues_ = 0;
  }
  if (!active_) {
    // Running values are taken again by the full run.
    for (ResumeState& state : states_) state = ResumeState{};
  }
  seriesFrom_.clear();
  return active_;
}

void IncrementalRun::End(bool ok, const RawJournal& journal, int bars) {
  lastOk_ = ok;
  lastSerial_ = journal.Serial();
  lastBars_ = bars;
  lastIncremental_ = active_;
  active_ = false;
}

bool IncrementalRun::TakeOwnValues(Tbian& series, int statement, bool readsItself) {
  const auto found = owner_.find(series.name);
  if (found == owner_.end() || static_cast<size_t>(statement) >= own_.size()) {
    owner_[series.name] = statement;
    return false;
  }
  const int owner = found->second;
  found->second = statement;
  if (owner == statement) return true;
  OwnValues& mine = own_[static_cast<size_t>(statement)];
  keptValues_ -= mine.values.capacity();
  OwnValues kept{std::move(mine.values), mine.count};
  mine = OwnValues{};
  const bool hasOwner = owner >= 0 && static_cast<size_t>(owner) < own_.size();
  if (readsItself || !hasOwner ||
      keptValues_ + series.values.capacity() > kKeptValuesLimit) {
    // The series holds the input, or there is no room to keep the owner's values: the
    // statement computes over them and they are gone.
    if (hasOwner) {
      keptValues_ -= own_[static_cast<size_t>(owner)].values.capacity();
      own_[static_cast<size_t>(owner)] = OwnValues{};
    }
    return false;
  }
  OwnValues& theirs = own_[static_cast<size_t>(owner)];
  keptValues_ -= theirs.values.capacity();
  theirs = OwnValues{std::move(series.values), series.count};
  keptValues_ += theirs.values.capacity();
  series.values = std::move(kept.values);
  series.count = kept.count;
  return true;
}

void IncrementalRun::NoteSeries(const std::string& name, int from) { seriesFrom_[name] = from; }

int IncrementalRun::SeriesFrom(const std::string& name) const {
  const auto found = seriesFrom_.find(name);
  return found != seriesFrom_.end() ? found->second : -1;
}

void IncrementalRun::KeepConstants(
    const std::vector<std::pair<std::string, std::string>>& constants) {
  previousConstants_.clear();
  for (const auto& [name, text] : constants) previousConstants_[name] = text;
}

const std::string* IncrementalRun::PreviousConstant(const std::string& name) const {
  const auto found = previousConstants_.find(name);
  return found != previousConstants_.end() ? &found->second : nullptr;
}

ResumeState* IncrementalRun::StateOf(int statement) {
  if (statement < 0 || static_cast<size_t>(statement) >= states_.size()) return nullptr;
  return &states_[static_cast<size_t>(statement)];
}

// ---- the interpreter's side ----------------------------------------------------------------

namespace {

const char* RawAlias(const std::string& name) {
  if (name == "h") return "high";
  if (name == "l") return "low";
  if (name == "o") return "open";
  if (name == "c") return "close";
  if (name == "v") return "vol";
  return nullptr;
}

}  // namespace

int TGS::TakeResumeFrom(std::string_view result) {
  const int from = resumeFrom_;
  resumeFrom_ = 0;
  if (from == 0) return 0;
  const Tbian* stored = computed_.Find(AsciiLower(result));
  return stored != nullptr && stored->count >= from ? from : 0;
}

int TGS::ChangedFromOf(std::string_view text) const {
  if (text.empty() || text.substr(0, 2) == "::") return kUnchangedBars;
  const std::string lower = AsciiLower(text);
  if (const int from = incremental_.SeriesFrom(lower); from >= 0) return from;
  // Resolution finds raw series before anything else (an "index" name loads the index).
  if (lower.rfind("index", 0) != 0 && raw_->Find(lower) != nullptr) {
    return incremental_.RawFrom();
  }
  if (computed_.Find(lower) == nullptr) {
    if (const char* alias = RawAlias(lower); alias != nullptr && raw_->Find(alias) != nullptr) {
      return incremental_.RawFrom();
    }
    if (const auto found = constantIndex_.find(lower); found != constantIndex_.end()) {
      const std::string* before = incremental_.PreviousConstant(lower);
      return before != nullptr && *before == constants_[found->second].second ? kUnchangedBars
                                                                              : 0;
    }
    if (ParseDecimal(lower)) return kUnchangedBars;
  }
  // A series left from the last run but not yet written in this one, a name made on
  // demand, a market value or a reference to another formula.
  return 0;
}

int TGS::ArgumentsChangedFrom(const std::string& func,
                              const std::vector<std::string>& args) const {
  int from = kUnchangedBars;
  for (size_t k = 0; k < args.size() && from > 0; ++k) {
    if (func == "biao" && k == 1) continue;  // the operator
    from = std::min(from, ChangedFromOf(args[k]));
  }
  return from;
}

bool TGS::TakeOwnValues(const std::string& lowerName, const std::vector<std::string>& args) {
  if (lowerName.empty() || raw_->Find(lowerName) != nullptr) return false;
  Tbian* series = computed_.Find(lowerName);
  RunHeldRecursionIfUses(series);
  if (series == nullptr) {
    incremental_.NoteOwner(lowerName, statementIndex_);
    return true;
  }
  bool readsItself = false;
  for (const std::string& arg : args) readsItself = readsItself || AsciiLower(arg) == lowerName;
  return incremental_.TakeOwnValues(*series, statementIndex_, readsItself);
}

void TGS::NoteResult(const std::string& lowerName, int changedFrom) {
  if (lowerName.empty()) return;
  if (raw_->Find(lowerName) != nullptr) incremental_.NoteRawWrite();
  if (constantIndex_.count(lowerName) == 0) {
    incremental_.NoteSeries(lowerName, std::min(changedFrom, BarCount()));
  }
}

std::string TGS::CurrentSettings(std::string_view parameters) const {
  std::string settings(parameters);
  settings += '\n' + stockName_ + '\n' + stockCode_ + '\n' + periodLabel_ + '\n' + fileName_ +
              '\n' + dataRoot_.string() + '\n';
  settings += Format("%d %d %d %a %p %zu %p %zu %p %zu %p\n", periodCode_, adjustmentType_,
                     excludedFromAdjustment_ ? 1 : 0, previousClose_,
                     static_cast<const void*>(attached_.stock), attached_.quote.size(),
                     static_cast<const void*>(attached_.quote.data()), attached_.finance.size(),
                     static_cast<const void*>(attached_.finance.data()),
                     attached_.breadth.size(), static_cast<const void*>(attached_.breadth.data()));
  for (const ExRightsRecord& record : exRights_) {
    settings += Format("%d %d %a %a %a %a;", record.flag, record.date, record.cash,
                       record.rightsPrice, record.bonus, record.rights);
  }
  return settings;
}

}  // namespace vorelin
