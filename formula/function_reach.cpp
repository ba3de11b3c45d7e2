// The reach of each library function. A function listed here is causal: its value at a bar
// depends only on its arguments up to that bar, never on how many bars follow. Whether it
// recomputes only the changed bars (it reads TGS::TakeResumeFrom) is its own affair.
#include "formula/function_reach.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

#include "common/numbers.h"
#include "formula/interpreter.h"

namespace vorelin {

namespace {

const std::unordered_set<std::string_view>& CausalFunctions() {
  static const std::unordered_set<std::string_view> kNames = {
      // operators and parameters
      "biao", "input",
      // (X,N) window family
      "sum", "dma", "filter", "hod", "lod", "barssincen", "wma", "forecast", "ma", "count",
      "llv", "llvbars", "hhv", "hhvbars",
      // (X) and (A,B)
      "cross", "max", "min", "mod", "pow", "not", "sgn", "sin", "abs", "acos", "asin", "atan",
      "cos", "exp", "ln", "reverse", "floor", "intpart", "log", "sqrt", "tan", "barscount",
      "barssince", "barslast", "toprange", "lowrange", "ceiling",
      // conditional
      "barslastcount", "upnday", "downnday", "nday", "every", "sma", "if", "range", "between",
      "last", "longcross", "exist", "rgb",
      // statistics
      "varp", "var", "stdp", "std", "devsq", "avedev", "forcast", "slope"};
  return kNames;
}

// The constant N of an (X,N) call, or false when N is a series or unknown.
bool ConstantLength(TGS& gs, const std::vector<std::string>& args, int& n) {
  if (args.size() < 2 || gs.ResolveSeries(args[1]) != nullptr) return false;
  double value = 0;
  if (!gs.ResolveConstant(args[1], value)) return false;
  n = TruncToInt(value);
  return true;
}

}  // namespace

int ReachFrom(TGS& gs, const std::string& func, const std::vector<std::string>& args,
              int inputsFrom, int lastBars) {
  const int from = std::min(inputsFrom, lastBars);
  if (func == "ref") {
    // A negative length looks ahead; a series length may turn negative.
    int n = 0;
    return ConstantLength(gs, args, n) && n >= 0 ? from : 0;
  }
  if (func == "ema" || func == "expma") {
    // The recursion's weight uses min(N, bars - 1): fixed once the history is longer than N.
    int n = 0;
    if (!ConstantLength(gs, args, n)) return args.size() >= 2 && gs.ResolveSeries(args[1]) ? from : 0;
    return lastBars - 1 >= n ? from : 0;
  }
  return CausalFunctions().count(func) != 0 ? from : 0;
}

}  // namespace vorelin
