// Raw-data file bytes of any shape: loading never reads or writes outside its buffers, a
// refused file leaves the pane as it was, and whatever loads saves and loads again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "formula/data_files.h"
#include "formula/interpreter.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// A small pane running a moving average, the state a load replaces.
void PreparePane(vorelin::TGS& gs) {
  std::vector<double> date, close;
  for (int i = 0; i < 12; ++i) {
    date.push_back(20240101 + i);
    close.push_back(10 + (i % 5) * 0.25);
  }
  gs.SetRawSeries("date", date.data(), static_cast<int>(date.size()));
  gs.SetRawSeries("close", close.data(), static_cast<int>(close.size()));
  gs.CompileText("MA1:MA(CLOSE,3);");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  vorelin::TGS gs;
  PreparePane(gs);
  const std::vector<std::string> source = gs.SourceLines();
  const std::vector<std::string> outputs = gs.Outputs();
  if (!vorelin::LoadRawDataBytes(gs, bytes)) {
    Check(gs.BarCount() == 12 && gs.SourceLines() == source && gs.Outputs() == outputs);
    return 0;
  }
  if (gs.BarCount() <= 2000) {
    (void)vorelin::CsvText(gs, true);
    (void)vorelin::TableText(gs);
  }
  vorelin::TGS again;
  Check(vorelin::LoadRawDataBytes(again, vorelin::RawDataBytes(gs)));
  Check(again.BarCount() == gs.BarCount() && again.RawSeries().size() == gs.RawSeries().size());
  return 0;
}
