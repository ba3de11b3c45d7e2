// INPUT and the run's parameter text: how the 51 parameter slots are filled.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorelin {

class TGS;

// The integer a text starts with: optional sign and leading digits; anything else is 0
// ("12.7" reads 12, "abc" 0).
int LeadingInteger(std::string_view text);

// INPUT(min,max,default,current[,'label']) registers the parameter in the first free slot
// and the named constant result=value. Never fails.
bool Input(TGS& gs, const std::string& result, const std::string& func,
           const std::vector<std::string>& args);

}  // namespace vorelin
