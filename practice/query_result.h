// Rows read back from the journal database as the texts the trainer shows, with column
// names matched without regard to case.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorelin {

struct QueryResult {
  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> rows;

  // Index of the column, ignoring ASCII case; -1 when there is none.
  int ColumnIndex(std::string_view name) const;
  // The value at `row` of the named column; empty when either does not exist.
  std::string Value(size_t row, std::string_view name) const;
};

}  // namespace vorelin
