// How far back a change of a library function's arguments reaches into its result, for
// runs that compute each statement only from the first changed bar.
#pragma once

#include <string>
#include <vector>

namespace vorelin {

class TGS;

// The first bar whose result may differ from the last run's, given that the arguments
// differ from bar `inputsFrom` on and the last run had `lastBars` bars. Functions whose
// every value may depend on the last bar (ZIG, BARSNEXT, CONST-like and market lookups,
// drawing commands) give 0, as does every name not declared below.
int ReachFrom(TGS& gs, const std::string& func, const std::vector<std::string>& args,
              int inputsFrom, int lastBars);

}  // namespace vorelin
