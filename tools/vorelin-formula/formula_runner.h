// What the vorelin-formula command does, apart from reading its command line: loading a
// data file into an interpreter, checking the built-ins, and writing a run's lines as CSV.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "formula/interpreter.h"

namespace vorelin {

// Enters a day or minute data file as raw series in the chart's order (date, time, open,
// high, low, close, amount, vol). False with `error` set when the file cannot be read.
bool LoadDataFile(const std::filesystem::path& path, TGS& gs, std::string& error);

// Zero-filled quote, finance and breadth records, as the chart attaches them.
void AttachZeroRecords(TGS& gs);

// One built-in run over a data file: its output lines as the run lists them (series names
// and constant levels, then the drawing commands' function names), and OK or why not: a
// failed compile or run, or a value that is NaN or infinite.
struct CheckLine {
  std::string name;
  std::string outputs;
  bool ok = false;
  std::string error;  // one line
};

// Compiles and runs every built-in, in library order, over the data file. False with
// `error` set only when the data file cannot be read.
bool CheckBuiltins(const std::filesystem::path& data, std::vector<CheckLine>& lines,
                   std::string& error);

// The output lines that are series, lower case, in output-list order, "@" names left out.
std::vector<std::string> SeriesOutputNames(TGS& gs);

// "bar," + the names, then one row per bar; a bar without a value is an empty cell.
std::string SeriesCsv(TGS& gs, bool exact);

}  // namespace vorelin
