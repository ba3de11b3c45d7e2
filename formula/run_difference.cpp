#include "formula/run_difference.h"

#include <cstring>

#include "common/format.h"
#include "formula/interpreter.h"

namespace vorelin {

namespace {

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::string SeriesDifference(const Tbian& got, const Tbian& want) {
  if (got.name != want.name) return "series " + got.name + " where " + want.name + " was made";
  if (got.count != want.count) {
    return Format("series %s has %d bars, not %d", got.name.c_str(), got.count, want.count);
  }
  for (int i = 0; i < got.count; ++i) {
    if (!SameBits(got.values[i], want.values[i])) {
      return Format("series %s bar %d: %.17g, not %.17g", got.name.c_str(), i, got.values[i],
                    want.values[i]);
    }
  }
  return {};
}

}  // namespace

std::string RunDifference(const TGS& got, const TGS& want) {
  if (got.ErrorText() != want.ErrorText()) {
    return "error text '" + got.ErrorText() + "', not '" + want.ErrorText() + "'";
  }
  if (got.Outputs() != want.Outputs()) {
    std::string text = "output entries differ:";
    for (const std::string& entry : got.Outputs()) text += " [" + entry + "]";
    text += " not";
    for (const std::string& entry : want.Outputs()) text += " [" + entry + "]";
    return text;
  }
  if (got.Constants() != want.Constants()) return "constants differ";
  if (got.Title() != want.Title() || got.ShortName() != want.ShortName() ||
      got.DrawK() != want.DrawK()) {
    return "header values differ";
  }
  const auto gotSeries = got.ComputedSeries(), wantSeries = want.ComputedSeries();
  if (gotSeries.size() != wantSeries.size()) {
    return Format("%zu computed series, not %zu", gotSeries.size(), wantSeries.size());
  }
  for (size_t k = 0; k < gotSeries.size(); ++k) {
    std::string difference = SeriesDifference(*gotSeries[k], *wantSeries[k]);
    if (!difference.empty()) return difference;
  }
  return {};
}

}  // namespace vorelin
