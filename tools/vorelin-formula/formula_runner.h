// What the vorelin-formula command does, apart from reading its command line: loading a
// data file into an interpreter, and writing a run's series lines as CSV.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "formula/interpreter.h"

namespace vorelin {

// Enters a day or minute data file as raw series in the chart's order (date, time, open,
// high, low, close, amount, vol). False with `error` set when the file cannot be read.
bool LoadDataFile(const std::filesystem::path& path, TGS& gs, std::string& error);

// The output lines that are series, lower case, in output-list order, "@" names left out.
std::vector<std::string> SeriesOutputNames(TGS& gs);

// "bar," + the names, then one row per bar; a bar without a value is an empty cell.
std::string SeriesCsv(TGS& gs, bool exact);

}  // namespace vorelin
