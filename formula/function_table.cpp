// Registration order of every name, and the one place the families' tables are joined.
#include "formula/function_table.h"

#include <array>
#include <map>

#include "formula/functions/families.h"

namespace vorelin {

namespace {

constexpr std::array<const char*, 33> kReservedNames = {
    "drawk",  "techname", "techtitle", "IndexA",   "IndexADV", "IndexDEC",     "IndexC",
    "IndexH", "IndexL",   "IndexO",    "IndexV",   "capital",  "totalcapital", "advance",
    "decline", "h",       "l",         "o",        "c",        "v",            "high",
    "low",    "open",     "close",     "vol",      "amount",   "year",         "month",
    "day",    "week",     "hour",      "minute",   "fromopen"};

constexpr std::array<const char*, 119> kFunctionNames = {
    "barslastcount", "rgb",        "exist",        "downnday",      "upnday",
    "nday",          "every",      "const",        "refdate",       "finance",
    "dynainfo",      "ema",        "wma",          "xma",           "expma",
    "hhv",           "llv",        "ma",           "sma",           "dma",
    "ref",           "if",         "var",          "varp",          "std",
    "stdp",          "devsq",      "avedev",       "max",           "min",
    "sum",           "pow",        "mod",          "cross",         "sin",
    "abs",           "cos",        "sqrt",         "log",           "tan",
    "exp",           "reverse",    "acos",         "sgn",           "ln",
    "not",           "atan",       "asin",         "ployline",      "stickline",
    "stickbar",      "drawkline",  "drawicon",     "drawtext",      "partline",
    "drawtext_fix",  "drawnumber_fix", "twr",      "btx",           "backset",
    "barscount",     "barslast",   "barssince",    "count",         "hhvbars",
    "llvbars",       "filter",     "sumbars",      "range",         "ceiling",
    "floor",         "intpart",    "between",      "last",          "input",
    "forecast",      "slope",      "drawline",     "drawrectrel",   "drawgbk",
    "drawbmp",       "drawnumber", "drawband",     "barstatus",     "barsnext",
    "toprange",      "lowrange",   "barssincen",   "hod",           "lod",
    "tfilt",         "findhigh",   "findhighbars", "findlow",       "findlowbars",
    "filterx",       "mema",       "expmema",      "islastbar",     "currbarscount",
    "totalbarscount", "longcross", "biao",         "forcast",       "sar",
    "sarturn",       "cost",       "winner",       "zig",           "peak",
    "peakbars",      "trough",     "troughbars",   "strcat",        "strcmp",
    "findstr",       "con2str",    "lfs",          "setcode"};

constexpr std::array<const char*, 16> kDrawingNames = {
    "ployline", "stickline",    "stickbar",       "drawkline", "drawicon",    "drawtext",
    "partline", "drawtext_fix", "drawnumber_fix", "twr",       "btx",         "drawrectrel",
    "drawgbk",  "drawbmp",      "drawnumber",     "drawband"};

struct JoinedLibrary {
  TFunclist table;
  ZigZagPointFinder zigZag = nullptr;
  IndexSeriesLoader loadIndex = nullptr;
};

const JoinedLibrary& Library() {
  static const JoinedLibrary library = [] {
    JoinedLibrary joined;
    std::map<std::string, LibraryFunction> entries;
    for (const LibraryFamily& family :
         {CoreFamily(), WindowFamily(), UnaryBinaryFamily(), ConditionalFamily(), TrendFamily(),
          CostFamily(), DataAccessFamily(), StatisticsFamily(), DrawingFamily()}) {
      for (const LibraryEntry& entry : family.entries) entries[entry.name] = entry.function;
      if (family.zigZag) joined.zigZag = family.zigZag;
      if (family.loadIndex) joined.loadIndex = family.loadIndex;
    }
    for (const char* name : kReservedNames) joined.table.Register(name, nullptr);
    for (const char* name : kFunctionNames) {
      auto it = entries.find(name);
      joined.table.Register(name, it == entries.end() ? nullptr : it->second);
    }
    return joined;
  }();
  return library;
}

}  // namespace

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& ch : out) {
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  }
  return out;
}

std::string AsciiUpper(std::string_view text) {
  std::string out(text);
  for (char& ch : out) {
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  }
  return out;
}

const TFunclist::Entry* TFunclist::Find(std::string_view lowerName) const {
  for (const Entry& entry : entries_) {
    if (entry.name == lowerName) return &entry;
  }
  return nullptr;
}

void TFunclist::Register(std::string_view name, LibraryFunction entry) {
  std::string lower = AsciiLower(name);
  if (Find(lower) != nullptr) {
    if (messages_ != nullptr) messages_->Show("函数表已存在:" + lower);
    return;
  }
  if (entries_.size() >= kFunctionTableCapacity) return;
  entries_.push_back({std::move(lower), entry});
}

LibraryFunction TFunclist::Lookup(std::string_view name) const {
  if (name.empty()) return nullptr;
  const Entry* entry = Find(AsciiLower(name));
  return entry != nullptr ? entry->entry : nullptr;
}

bool TFunclist::Contains(std::string_view name) const {
  return !name.empty() && Find(AsciiLower(name)) != nullptr;
}

void TFunclist::Names(std::vector<std::string>& list) const {
  list.clear();
  for (const Entry& entry : entries_) list.push_back(entry.name);
}

const TFunclist& StandardFunctionTable() { return Library().table; }
ZigZagPointFinder StandardZigZagFinder() { return Library().zigZag; }
IndexSeriesLoader StandardIndexLoader() { return Library().loadIndex; }

bool IsReservedVariableName(std::string_view lowerName) {
  for (const char* name : kReservedNames) {
    if (AsciiLower(name) == lowerName) return true;
  }
  return false;
}

bool IsDrawingCommandName(std::string_view lowerName) {
  for (const char* name : kDrawingNames) {
    if (lowerName == name) return true;
  }
  return false;
}

}  // namespace vorelin
