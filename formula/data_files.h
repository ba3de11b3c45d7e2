// The raw-data file of a pane (its bar series and formula, to be loaded back later) and the
// two exports of its series: comma-separated text and a fixed-width text table, all GBK.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "formula/interpreter.h"

namespace vorelin {

inline constexpr std::string_view kRawDataMagic = "QUENTARIX";
inline constexpr int kRawNameLimit = 2000;

// False, writing nothing, when there are no raw series or the file cannot be written.
bool SaveRawData(const TGS& gs, const std::filesystem::path& path);
// The bytes SaveRawData writes.
std::string RawDataBytes(const TGS& gs);

// Replaces the interpreter's data and formula with the file's and compiles the formula; true
// even when that compile or run fails (the error text then says why). False, leaving the
// interpreter unchanged, when the file cannot be read, lacks the magic, or has a negative,
// oversized or truncated length, count or record, or a series name twice.
bool LoadRawData(TGS& gs, const std::filesystem::path& path);
bool LoadRawDataBytes(TGS& gs, std::string_view bytes);

// False when the file cannot be written. `all` also exports the "@" temporaries.
bool ExportCsv(const TGS& gs, const std::filesystem::path& path, bool all);
std::string CsvText(const TGS& gs, bool all);  // GBK bytes

bool ExportTable(const TGS& gs, const std::filesystem::path& path);
std::string TableText(const TGS& gs);  // GBK bytes

}  // namespace vorelin
