// The bookkeeping that lets a rerun after appended bars compute each statement only from
// the first bar whose inputs changed: what the last run was made with, which names this
// run has written and from which bar, the constants of the last run, and the running
// values of the statements that resume.
#pragma once

#include <climits>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "formula/raw_journal.h"
#include "formula/resume_state.h"
#include "formula/series.h"

namespace vorelin {

// A series or constant whose values did not change since the last run.
inline constexpr int kUnchangedBars = INT_MAX;

// On by default; benchmarks and tests switch it off to compare with runs over all bars.
void SetIncrementalRuns(bool enabled);
bool IncrementalRunsEnabled();

class IncrementalRun {
 public:
  // A new program (or none): the next run goes over all bars.
  void ProgramChanged();
  // Decides how the coming run goes. `settings` is everything the run depends on besides
  // the program and the raw data. True for the incremental way: the last run of this
  // program succeeded with the same settings over no more bars, and the program writes
  // no raw series.
  bool Begin(std::string settings, const RawJournal& journal, int bars, size_t statements,
             bool allowed);
  void End(bool ok, const RawJournal& journal, int bars);

  bool Active() const { return active_; }
  // Whether the last run that ended went the incremental way.
  bool LastWasIncremental() const { return lastIncremental_; }
  // The first raw bar that differs from the last run.
  int RawFrom() const { return rawFrom_; }
  int LastBars() const { return lastBars_; }

  // A statement writes into raw data: this program stays on the full path.
  void NoteRawWrite() { writesRaw_ = true; }
  // A series this run has computed, differing from the last run from bar `from` on.
  void NoteSeries(const std::string& name, int from);
  // Bar from which a series written in this run changed, or -1 when it was not written.
  int SeriesFrom(const std::string& name) const;

  // The constants as the last run left them, kept before a run clears them.
  void KeepConstants(const std::vector<std::pair<std::string, std::string>>& constants);
  const std::string* PreviousConstant(const std::string& name) const;

  ResumeState* StateOf(int statement);

  // Several statements may write one name (the compiler reuses its temporaries). Each
  // keeps its own values between runs: before statement `statement` writes `series`, the
  // values there go back to the statement that made them and the statement's own from the
  // last run take their place. False when they cannot (the statement reads the name it
  // writes, or the series was made otherwise): the statement then computes all bars.
  bool TakeOwnValues(Tbian& series, int statement, bool readsItself);
  // The statement makes `name` for the first time.
  void NoteOwner(const std::string& name, int statement) { owner_[name] = statement; }

 private:
  std::string settings_;
  bool lastOk_ = false;
  uint64_t lastSerial_ = 0;
  int lastBars_ = 0;
  bool writesRaw_ = false;
  bool active_ = false;
  bool lastIncremental_ = false;
  int rawFrom_ = 0;
  struct OwnValues {
    std::vector<double> values;
    int count = 0;
  };
  // A long formula may write one temporary thousands of times: past this many values kept
  // aside, further writers compute all their bars instead of keeping theirs.
  static constexpr size_t kKeptValuesLimit = 16 * static_cast<size_t>(kSeriesCapacity);
  std::vector<OwnValues> own_;                  // per statement
  size_t keptValues_ = 0;                       // values held in own_
  std::unordered_map<std::string, int> owner_;  // name -> statement whose values it holds
  std::unordered_map<std::string, int> seriesFrom_;
  std::unordered_map<std::string, std::string> previousConstants_;
  std::vector<ResumeState> states_;
};

}  // namespace vorelin
