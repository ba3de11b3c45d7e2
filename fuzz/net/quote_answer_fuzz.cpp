// Whole quote answers (header, optional zlib body, records) from an untrusted server.
#include <cstddef>
#include <cstdint>
#include <string>

#include "net/quote_answer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  vorelin::QuoteAnswer answer;
  vorelin::DecodeQuoteAnswer(bytes, answer);
  // The same bytes as a body, so the record decoders are reached without a valid header.
  std::vector<vorelin::TMinutePoint> points;
  std::vector<vorelin::TTradeTick> ticks;
  vorelin::DecodeMinutePoints(bytes, points);
  vorelin::DecodeTradeTicks(bytes, ticks);
  return 0;
}
