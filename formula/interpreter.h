// The formula interpreter `TGS`: its series and constant stores, the compile-and-run entry
// points, the output list, the parameter slots and the one error text.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "formula/function_table.h"
#include "formula/incremental_run.h"
#include "formula/raw_journal.h"
#include "formula/recursion.h"
#include "formula/resume_state.h"
#include "formula/series.h"
#include "formula/series_list.h"
#include "market/stock_directory.h"

namespace vorelin {

inline constexpr int kParamSlotCount = 51;
// Slots 1 .. kParamOverrideCount are reset by every run and take the run's parameter text.
inline constexpr int kParamOverrideCount = 40;
inline constexpr int kExRightsCapacity = 41;
inline constexpr int kMaxReferenceDepth = 4;
inline constexpr const char* kOverflowMessage = "数据长度大于100000溢出!";

struct ParamSlot {
  std::string name;  // lower case; empty = slot free
  int32_t min = 0;
  int32_t max = 0;
  int32_t defaultValue = 0;
  int32_t value = 0;  // 0 = no override
};

// One ex-rights event as the 21-byte record carries it.
struct ExRightsRecord {
  uint8_t flag = 0;  // 1 = in use; 0 ends the list
  int32_t date = 0;  // YYYYMMDD
  float cash = 0;    // cash dividend per 10 shares
  float rightsPrice = 0;
  float bonus = 0;   // bonus shares per 10 shares
  float rights = 0;  // rights shares per 10 shares
};

// Records handed over by the host, not owned. Empty spans mean "not attached".
struct AttachedRecords {
  const TStockDirEntry* stock = nullptr;
  std::span<const float> quote;
  std::span<const float> finance;   // element 7 circulating, element 1 total capital
  std::span<const float> breadth;   // element 1 advancing, element 2 declining issues
};

class TGS {
 public:
  // A child uses the parent's raw series and copies its attached records and ex-rights list.
  explicit TGS(TGS* parent = nullptr);
  ~TGS();
  TGS(const TGS&) = delete;
  TGS& operator=(const TGS&) = delete;

  // --- compiling and running: true on success, else the error text says why -------------
  // Removes comments, compiles and runs. A failed compile keeps the previous formula; so
  // does a text over kFormulaTextLimit (formula/messages.h), refused before compiling.
  bool CompileText(std::string_view text, std::string_view parameters = {});
  // Compiles a formula file (GBK or UTF-8) without comment removal, then runs it. A file
  // over kFormulaTextLimit bytes is refused unread.
  bool CompileFile(const std::filesystem::path& path, std::string_view parameters = {});
  // Runs the compiled program over all bars, rebuilding outputs and constants. When only
  // bars were appended since the last successful run of the same program with the same
  // settings, each statement is computed from the first bar whose inputs changed; the
  // results are bit for bit those of a run over all bars.
  bool Run(std::string_view parameters = {});
  void ClearCompiled();
  void ClearAll();

  // --- raw data and price adjustment -----------------------------------------------------
  // False with the overflow message (nothing stored) past 99,998 values.
  bool SetRawSeries(std::string_view name, const double* values, int n);
  // Appends a value, or with `append` false replaces the last one (the bar still forming).
  bool PushRawValue(std::string_view name, double value, bool append);
  void SetExRights(std::vector<ExRightsRecord> records);  // the first 41 are kept
  const std::vector<ExRightsRecord>& ExRights() const { return exRights_; }
  // 0 none, 1 backward, 2 forward. False when there is nothing to adjust.
  bool SetAdjustment(int type);
  int AdjustmentType() const { return adjustmentType_; }
  void SetExcludedFromAdjustment(bool excluded) { excludedFromAdjustment_ = excluded; }

  // --- stores, as library functions use them ---------------------------------------------
  int BarCount() const;
  Tbian* FindSeries(std::string_view name);
  Tbian* ResolveSeries(std::string_view name);
  // False when the name is no constant; `value` is then unchanged.
  bool ResolveConstant(std::string_view name, double& value);
  double LastValue(std::string_view name);
  // The series of that name (raw first, then computed) or a new computed one, with `count`
  // values; new slots are 0.
  Tbian& CreateResult(std::string_view name, int count);
  // Adds (or replaces) the named constant name=value, the value kept with two decimals.
  void AddConstant(std::string_view name, double value);
  // Adds (or replaces) the named constant with its value text as given.
  void AddConstantText(std::string_view name, std::string valueText);
  const std::vector<std::pair<std::string, std::string>>& Constants() const { return constants_; }

  void SetError(std::string text) { error_ = std::move(text); }
  void AppendError(std::string_view text) { error_ += text; }
  const std::string& ErrorText() const { return error_; }

  void AddOutput(std::string entry) { outputs_.push_back(std::move(entry)); }
  const std::vector<std::string>& Outputs() const { return outputs_; }

  // Slot k of the language is ParamSlots()[k - 1].
  std::array<ParamSlot, kParamSlotCount>& ParamSlots() { return params_; }
  const std::array<ParamSlot, kParamSlotCount>& ParamSlots() const { return params_; }

  void Attach(const AttachedRecords& records) { attached_ = records; }
  const AttachedRecords& Attached() const { return attached_; }

  const TFunclist& Functions() const { return StandardFunctionTable(); }

  // --- for library functions that can resume a run (formula/function_reach.cpp) --------
  // The first bar the function must compute into `result` (0: all), handed out once per
  // statement; 0 too when the stored result holds fewer bars than that. Call it before
  // CreateResult.
  int TakeResumeFrom(std::string_view result);
  // Whether the last run computed its statements from the first changed bar only.
  bool LastRunIncremental() const { return incremental_.LastWasIncremental(); }
  // The running values the statement being run keeps between runs; null outside one.
  ResumeState* StatementState() { return incremental_.StateOf(statementIndex_); }
  // Runs `recursion` (reading `input`, writing `output`), or, inside a statement of a run
  // over all bars, holds it back to run together with the next one. A held recursion runs
  // before anything looks either series up, before a formula reference and at the end of
  // the run, so no one sees the difference.
  void HoldOrRunRecursion(const Recursion& recursion, const Tbian& input, const Tbian& output);

  // --- host texts and pane header values -------------------------------------------------
  void SetStockName(std::string name) { stockName_ = std::move(name); }
  void SetStockCode(std::string code) { stockCode_ = std::move(code); }
  void SetPeriodLabel(std::string label) { periodLabel_ = std::move(label); }
  void SetPeriodCode(int code) { periodCode_ = code; }
  const std::string& StockName() const { return stockName_; }
  const std::string& StockCode() const { return stockCode_; }
  const std::string& PeriodLabel() const { return periodLabel_; }
  int PeriodCode() const { return periodCode_; }
  double PreviousClose() const { return previousClose_; }
  void SetPreviousClose(double value) { previousClose_ = value; }

  const std::string& ShortName() const { return shortName_; }
  const std::string& Title() const { return title_; }
  int DrawK() const { return drawK_; }  // -1 no DRAWK statement, 0 or 1
  const std::string& FileName() const { return fileName_; }
  void SetFileName(std::string name) { fileName_ = std::move(name); }
  const std::vector<std::string>& SourceLines() const { return sourceLines_; }
  const std::vector<std::string>& Program() const { return program_; }

  // Every series of the stores, in search order (raw, computed); for tools and tests.
  std::vector<const Tbian*> AllSeries() const;
  // The raw series in the order they were entered, and the computed ones in creation order.
  std::vector<const Tbian*> RawSeries() const;
  std::vector<const Tbian*> ComputedSeries() const;

  // Folder of the market index files; empty means the current folder. Children inherit it.
  void SetDataRoot(std::filesystem::path root) { dataRoot_ = std::move(root); }
  const std::filesystem::path& DataRoot() const { return dataRoot_; }

 private:
  Tbian* FindStored(std::string_view lowerName);
  Tbian& AddComputed(std::string_view lowerName, int count);
  Tbian* DerivedSeries(const std::string& lowerName);
  Tbian* DrawnSeries(const std::string& lowerName);
  Tbian* ReferenceSeries(const std::string& lowerName);
  Tbian& NextScratch();
  bool ApplyAdjustment();
  // kAbandoned: failed with a message that stands without the line report.
  enum class StatementOutcome { kDone, kFailed, kAbandoned };
  StatementOutcome RunStatement(const std::string& statement, int index, int& colourIndex);
  StatementOutcome CallFormula(const std::string& name, const std::string& func,
                               const std::string& args);
  void ApplyParameterText(std::string_view parameters);
  bool RunProgram(bool incremental);
  std::string CurrentSettings(std::string_view parameters) const;
  // The first bar from which the series or constant named `text` differs from the last
  // run, kUnchangedBars when it does not (formula/incremental_run.cpp).
  int ChangedFromOf(std::string_view text) const;
  int ArgumentsChangedFrom(const std::string& func, const std::vector<std::string>& args) const;
  void NoteResult(const std::string& lowerName, int changedFrom);
  // False when the statement about to write `lowerName` must compute all its bars.
  bool TakeOwnValues(const std::string& lowerName, const std::vector<std::string>& args);
  void ClearConstants();
  void RunHeldRecursion();
  void RunHeldRecursionIfUses(const Tbian* series) {
    if (held_ && series != nullptr && (series == held_->input || series == held_->output)) {
      RunHeldRecursion();
    }
  }
  void InstallProgram(std::vector<std::string> lines, std::vector<std::string> program);

  TGS* parent_;
  int depth_;  // how many parents; formula references stop at kMaxReferenceDepth
  SeriesList ownRaw_;
  SeriesList* raw_;
  RawJournal ownJournal_;
  RawJournal* journal_;  // changes of raw_, shared with the parent like raw_
  IncrementalRun incremental_;
  int resumeFrom_ = 0;
  int statementIndex_ = -1;
  struct HeldRecursion {
    Recursion recursion;
    const Tbian* input;
    const Tbian* output;
  };
  std::optional<HeldRecursion> held_;
  SeriesList computed_;
  // Unadjusted prices, kept apart so a recompile cannot lose them and adjust twice.
  SeriesList ownOriginals_;
  SeriesList* originals_;
  std::vector<std::unique_ptr<Tbian>> scratch_;
  size_t scratchUsed_ = 0;
  std::vector<std::pair<std::string, std::string>> constants_;
  std::unordered_map<std::string, size_t> constantIndex_;  // name -> position in constants_
  std::vector<std::string> outputs_;
  std::string error_;
  std::array<ParamSlot, kParamSlotCount> params_{};
  AttachedRecords attached_;
  std::vector<ExRightsRecord> exRights_;
  int adjustmentType_ = 0;
  bool excludedFromAdjustment_ = false;

  std::vector<std::string> sourceLines_;
  std::vector<std::string> program_;
  std::string fileName_;
  std::string stockName_;
  std::string stockCode_;
  std::string periodLabel_;
  int periodCode_ = 13;
  double previousClose_ = kNoValue;
  std::string shortName_;
  std::string title_;
  int drawK_ = -1;
  std::filesystem::path dataRoot_;
};

}  // namespace vorelin
