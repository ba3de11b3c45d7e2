// The library families, one file each; the function table joins their tables.
#pragma once

#include "formula/functions/library.h"

namespace vorelin {

LibraryFamily CoreFamily();           // biao, input (formula/)
LibraryFamily WindowFamily();         // (X,N) functions
LibraryFamily UnaryBinaryFamily();    // (X) and (A,B) functions
LibraryFamily ConditionalFamily();    // conditional and three-argument functions
LibraryFamily TrendFamily();          // SAR, ZIG and the turning-point queries
LibraryFamily CostFamily();           // cost distribution
LibraryFamily DataAccessFamily();     // date, data-access and text functions
LibraryFamily StatisticsFamily();     // statistics and regression
LibraryFamily DrawingFamily();        // the drawing recorder and DRAWLINE

}  // namespace vorelin
