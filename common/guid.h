// GUID texts for journal rows and screenshot names.
#pragma once

#include <string>

namespace vorelin {

// A new random (version 4) GUID in its usual text form: "{" 8-4-4-4-12 upper-case hex "}".
std::string NewGuidText();

// The journal's row identifier: the 31 characters that follow the opening brace of a new
// GUID text (its last five hex digits and the closing brace are dropped).
std::string RowGuid();

}  // namespace vorelin
