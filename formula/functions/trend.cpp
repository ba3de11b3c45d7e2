// Library family not built yet: its names are registered without entries, so a formula that
// calls one gets the compiler's "not supported" message.
#include "formula/functions/families.h"

namespace vorelin {

LibraryFamily TrendFamily() { return {}; }

}  // namespace vorelin
