// The stock record the chart's board shows while the trainee replays the past: the
// directory's record keeps its capital figures, but its stored quote (today's real prices
// and order book) gives way to the quote of the last revealed bar.
#pragma once

#include <vector>

#include "market/bar_record.h"
#include "market/stock_directory.h"

namespace vorelin {

// `directory_record` with last price, open, high, low, volume and amount of bars[row], the
// previous close of bars[row - 1] (0 for the first bar), and no order book, no outer and no
// inner volume. A row outside `bars` gives a quote of zeros.
TStockDirEntry ReplayQuoteRecord(const TStockDirEntry& directory_record, const std::vector<TBarRecord>& bars,
                                 int row);

}  // namespace vorelin
