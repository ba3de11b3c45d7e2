// BIAO, the one library function every operator of a formula compiles to.
#pragma once

#include <string>
#include <vector>

namespace vorelin {

class TGS;

// args: left operand, operator, right operand (then the attribute text and terminator).
// A series result when either operand is a series, else a named constant of two decimals.
bool Biao(TGS& gs, const std::string& result, const std::string& func,
          const std::vector<std::string>& args);

}  // namespace vorelin
