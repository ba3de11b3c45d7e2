// Compiles and runs arbitrary formula text over a fixed 50-bar series: the interpreter must
// end with success or with an error text, never crash, hang or leak.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "formula/interpreter.h"

namespace {

void LoadBars(vorelin::TGS& gs) {
  static const std::vector<std::vector<double>> kColumns = [] {
    std::vector<std::vector<double>> columns(8);
    double price = 10;
    for (int i = 0; i < 50; ++i) {
      price += (i * 7919 % 13 - 6) / 10.0;
      columns[0].push_back(20240101 + i);
      columns[1].push_back(930 + i);
      columns[2].push_back(price - 0.1);
      columns[3].push_back(price + 0.3);
      columns[4].push_back(price - 0.3);
      columns[5].push_back(i % 11 == 0 ? vorelin::kNoValue : price);
      columns[6].push_back(price * 1000);
      columns[7].push_back(1000 + i * 37 % 101);
    }
    return columns;
  }();
  static const char* const kNames[] = {"date", "time",  "open",   "high",
                                       "low",  "close", "amount", "vol"};
  for (int k = 0; k < 8; ++k) gs.SetRawSeries(kNames[k], kColumns[k].data(), 50);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Compiling is linear in the text, so long texts are worth trying; past 64 KB they only
  // cost time (the text limit has its own tests).
  if (size > 65536) return 0;
  const std::string text(reinterpret_cast<const char*>(data), size);
  // The first line, when it starts with "#P", is the parameter text.
  std::string params;
  std::string formula = text;
  if (text.rfind("#P", 0) == 0) {
    const size_t end = text.find('\n');
    params = text.substr(2, end == std::string::npos ? std::string::npos : end - 2);
    formula = end == std::string::npos ? std::string() : text.substr(end + 1);
  }
  vorelin::TGS gs;
  LoadBars(gs);
  static const std::vector<float> kRecords(65, 1.0f);
  gs.Attach({nullptr, kRecords, kRecords, kRecords});
  if (!gs.CompileText(formula, params) && gs.ErrorText().empty()) std::abort();
  if (!gs.Program().empty() && !gs.Run(params) && gs.ErrorText().empty()) std::abort();
  return 0;
}
