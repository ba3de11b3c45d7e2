// The help text's entries as data: one per function-list name, plus the colour and
// drawing words the list does not offer.
#pragma once

#include <vector>

namespace vorelin {

struct HelpEntry {
  const char* name;     // upper case
  const char* summary;  // the Chinese description on the entry's first line
  const char* usage;    // how it is called and what it gives
  const char* example;  // a statement that compiles
};

const std::vector<HelpEntry>& HelpEntries();

}  // namespace vorelin
