// Taking a formula's output entry apart: "syline=NAME::ATTRS" or "FUNC=a,b,c,::ATTRS".
#pragma once

#include <string>
#include <vector>

namespace vorelin {

struct OutputEntry {
  std::string command;                 // "syline" or a drawing command
  std::vector<std::string> arguments;  // at most 40; the trailing empty piece is dropped
  std::string attributes;              // the text after "::"
  std::vector<std::string> words;      // attributes split at commas and spaces
};

OutputEntry ParseOutputEntry(const std::string& text);

// `text` without its single quotes.
std::string WithoutQuotes(const std::string& text);

}  // namespace vorelin
