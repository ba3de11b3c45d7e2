// Parameter slots: reset and overridden by position at the start of a run, registered by
// each INPUT statement as it runs.
#include "formula/parameters.h"

#include <climits>

#include "common/format.h"
#include "formula/binary_op.h"
#include "formula/functions/families.h"
#include "formula/functions/library.h"
#include "formula/interpreter.h"

namespace vorelin {

int LeadingInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long value = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    value = value * 10 + (text[i++] - '0');
    if (value > INT_MAX) value = INT_MAX;
  }
  return static_cast<int>(negative ? -value : value);
}

void TGS::ApplyParameterText(std::string_view parameters) {
  std::vector<std::string_view> texts;
  size_t start = 0;
  while (texts.size() < kParamOverrideCount && start <= parameters.size()) {
    size_t comma = parameters.find(',', start);
    if (comma == std::string_view::npos) comma = parameters.size();
    texts.push_back(parameters.substr(start, comma - start));
    start = comma + 1;
  }
  for (int slot = 0; slot < kParamOverrideCount; ++slot) {
    params_[slot].name.clear();
    params_[slot].value =
        slot < static_cast<int>(texts.size()) ? LeadingInteger(texts[slot]) : 0;
  }
}

bool Input(TGS& gs, const std::string& result, const std::string&,
           const std::vector<std::string>& args) {
  for (ParamSlot& slot : gs.ParamSlots()) {
    if (!slot.name.empty()) continue;
    slot.name = AsciiLower(result);
    slot.min = LeadingInteger(Arg(args, 0));
    slot.max = LeadingInteger(Arg(args, 1));
    slot.defaultValue = LeadingInteger(Arg(args, 2));
    if (slot.value == 0) slot.value = LeadingInteger(Arg(args, 3));
    gs.AddConstantText(slot.name, Format("%d", slot.value));
    return true;
  }
  return true;
}

LibraryFamily CoreFamily() {
  static const LibraryEntry kEntries[] = {{"biao", Biao}, {"input", Input}};
  return {kEntries};
}

}  // namespace vorelin
