// The bookkeeping that lets a rerun after appended bars compute each statement only from
// the first bar whose inputs changed: what the last run was made with, which names this
// run has written and from which bar, the constants of the last run, and the running
// values of the statements that resume.
#pragma once

#include <climits>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "formula/raw_journal.h"
#include "formula/resume_state.h"

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
  // every name once and no raw series.
  bool Begin(std::string settings, const RawJournal& journal, int bars, size_t statements,
             bool allowed);
  void End(bool ok, const RawJournal& journal, int bars);

  bool Active() const { return active_; }
  // The first raw bar that differs from the last run.
  int RawFrom() const { return rawFrom_; }
  int LastBars() const { return lastBars_; }

  // A statement writes `name` (a series or constant); a second writer of one name, or a
  // write into raw data, keeps this program on the full path.
  void NoteWrite(const std::string& name, bool intoRaw);
  // A series this run has computed, differing from the last run from bar `from` on.
  void NoteSeries(const std::string& name, int from);
  // Bar from which a series written in this run changed, or -1 when it was not written.
  int SeriesFrom(const std::string& name) const;

  // The constants as the last run left them, kept before a run clears them.
  void KeepConstants(const std::vector<std::pair<std::string, std::string>>& constants);
  const std::string* PreviousConstant(const std::string& name) const;

  ResumeState* StateOf(int statement);

 private:
  std::string settings_;
  bool lastOk_ = false;
  uint64_t lastSerial_ = 0;
  int lastBars_ = 0;
  bool writesOnce_ = true;
  bool active_ = false;
  int rawFrom_ = 0;
  std::unordered_set<std::string> written_;
  std::unordered_map<std::string, int> seriesFrom_;
  std::unordered_map<std::string, std::string> previousConstants_;
  std::vector<ResumeState> states_;
};

}  // namespace vorelin
