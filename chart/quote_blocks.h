// The quote and finance blocks that chart formulas read, derived from the stock record.
#pragma once

#include "chart/pane_formula.h"

namespace vorelin {

// Fills blocks.quote when the record's last price is not 0, and blocks.finance when the
// record carries finance data; each block otherwise keeps its contents.
void DeriveQuoteBlocks(ChartBlocks& blocks);

}  // namespace vorelin
